#pragma once

namespace quorvex::platform {

// Handles every event waiting for the calling thread when it is the thread of a running Qt
// application; does nothing otherwise (no application, or another thread).
void ProcessMessages();

} // namespace quorvex::platform
