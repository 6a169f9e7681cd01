#pragma once

#include <sys/types.h>

namespace quorvex::platform {

// Thread priorities are per-thread nice values: the platform priority value is the negated
// nice value, so higher means more urgent as the components expect.

// A thread's kernel id.
using ThreadId = pid_t;

// The kernel id of the calling thread.
ThreadId CurrentThreadId();

// The platform priority value of a thread.
int GetThreadPriority(ThreadId thread);

// Sets it; false when the system refuses (raising a priority needs privileges).
bool SetThreadPriority(ThreadId thread, int value);

} // namespace quorvex::platform
