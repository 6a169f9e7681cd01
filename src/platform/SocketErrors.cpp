#include "platform/SocketErrors.h"

#include <cstring>

namespace quorvex::platform {

ESocketError::ESocketError(int code, const std::string& text)
    : Exception("Socket error " + std::to_string(code) + ": " + text)
    , code_(code) {}

void ThrowSocketError(int code) {
    throw ESocketError(code, std::strerror(code));
}

} // namespace quorvex::platform
