#include "platform/ThreadPriority.h"

#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quorvex::platform {

ThreadId CurrentThreadId() {
    return static_cast<ThreadId>(syscall(SYS_gettid));
}

int GetThreadPriority(ThreadId thread) {
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
    return errno == 0 ? -nice : 0;
}

bool SetThreadPriority(ThreadId thread, int value) {
    return setpriority(PRIO_PROCESS, static_cast<id_t>(thread), -value) == 0;
}

} // namespace quorvex::platform
