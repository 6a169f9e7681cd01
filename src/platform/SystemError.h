#pragma once

#include <string>

namespace quorvex::platform {

// The system's message text for the calling thread's last error (errno); empty for 0.
std::string SystemErrorText();

} // namespace quorvex::platform
