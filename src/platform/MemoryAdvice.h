#pragma once

#include <cstddef>

namespace quorvex::platform {

// Asks the kernel to back the whole pages inside a large, not yet touched buffer with huge
// pages, so that filling it takes far fewer page faults. Only advice: where the kernel declines,
// nothing changes.
void AdviseLargeBuffer(void* data, size_t size);

} // namespace quorvex::platform
