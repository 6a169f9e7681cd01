#include "platform/SystemError.h"

#include <cstring>

namespace quorvex::platform {

std::string SystemErrorText(int code) {
    if (code == 0)
        return {};
    char buffer[512];
    // The GNU strerror_r may return a static text instead of filling the buffer.
    return strerror_r(code, buffer, sizeof buffer);
}

} // namespace quorvex::platform
