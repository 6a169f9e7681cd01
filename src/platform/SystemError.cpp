#include "platform/SystemError.h"

#include <cstring>
#include <netdb.h>

namespace quorvex::platform {

std::string SystemErrorText(int code) {
    if (code == 0)
        return {};
    // The resolver's codes are negative and have texts of their own; strerror knows none.
    if (code < 0)
        return gai_strerror(code);
    char buffer[512];
    // The GNU strerror_r may return a static text instead of filling the buffer.
    return strerror_r(code, buffer, sizeof buffer);
}

} // namespace quorvex::platform
