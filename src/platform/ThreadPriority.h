#pragma once

#include <sys/types.h>

namespace quorvex::platform {

// Thread priorities are per-thread nice values: the platform priority value is the negated
// nice value, so higher means more urgent as the components expect.

// The kernel id of the calling thread.
pid_t CurrentThreadId();

// The platform priority value of a thread.
int GetThreadPriority(pid_t thread);

// Sets it; false when the system refuses (raising a priority needs privileges).
bool SetThreadPriority(pid_t thread, int value);

} // namespace quorvex::platform
