#pragma once

#include <cstdint>

namespace quorvex::platform {

// Waits on the user-interface thread, processing its events, for a signal. Handles name the
// waits going on; a handle whose wait is over is simply unknown.
using SignalHandle = std::uintptr_t;

// Registers a wait and returns its handle (never 0).
SignalHandle CreateSignalWait();
// Runs events until the handle is signalled, timeoutMs passes (0 = no limit) or, with
// stopWhenTerminating, the application is told to terminate; then forgets the handle.
void RunSignalWait(SignalHandle handle, int timeoutMs, bool stopWhenTerminating);
// Ends the wait of handle, if it is going on.
void SignalWait(SignalHandle handle);

} // namespace quorvex::platform
