#include "platform/WriteAccess.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quorvex::platform {

WriteAccess ProbeWriteAccess(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor >= 0) {
        ::close(descriptor);
        return WriteAccess::Granted;
    }
    return errno == ETXTBSY ? WriteAccess::Busy : WriteAccess::Refused;
}

} // namespace quorvex::platform
