#pragma once

namespace quorvex::platform {

// Blocks SIGINT and SIGTERM in the calling thread and in every thread it starts afterwards, so
// that WaitForTerminationSignal alone receives them. Call it before starting threads.
void BlockTerminationSignals();

// Waits until SIGINT or SIGTERM arrives; returns the signal number.
int WaitForTerminationSignal();

} // namespace quorvex::platform
