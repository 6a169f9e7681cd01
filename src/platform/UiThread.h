#pragma once

#include <cstdint>
#include <exception>
#include <functional>

namespace quorvex::platform {

// The user-interface thread is the thread of the Qt application object. Worker threads hand
// calls to it here and block until they have run, as a message sent to a window would.

// True on the thread of the application object (and when there is no application object).
bool IsUiThread();

// Runs call on the user-interface thread and returns once it has run. An exception the call
// raises is captured and handed back. On the user-interface thread itself the call runs at once.
std::exception_ptr InvokeOnUiThread(const std::function<void()>& call);

// Runs the calls workers have queued so far (on the user-interface thread).
void RunPendingUiCalls();

// Blocks the user-interface thread until finished() holds, running queued calls meanwhile and
// nothing else. Whoever makes finished() true calls WakeUiThread().
void WaitServicingUiCalls(const std::function<bool()>& finished);

// Wakes the user-interface thread out of the waits of this file.
void WakeUiThread();

enum class PumpResult { Finished, Input, TimedOut };

// Processes the application's events until finished() holds, an event arrived, or timeoutMs
// passed (0 = no limit). Returns which of the three ended the wait.
PumpResult PumpMessagesOnce(const std::function<bool()>& finished, std::uint32_t timeoutMs);

// Tells the application to terminate: every event loop leaves and the flag below is set.
void TerminateApplication();
bool ApplicationTerminated();

// Closes the application's windows, when it has any (a widget application).
void CloseMainWindows();

} // namespace quorvex::platform
