#include "platform/ThreadPriority.h"

#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quorvex::platform {

pid_t CurrentThreadId() {
    return static_cast<pid_t>(syscall(SYS_gettid));
}

int GetThreadPriority(pid_t thread) {
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
    return errno == 0 ? -nice : 0;
}

bool SetThreadPriority(pid_t thread, int value) {
    return setpriority(PRIO_PROCESS, static_cast<id_t>(thread), -value) == 0;
}

} // namespace quorvex::platform
