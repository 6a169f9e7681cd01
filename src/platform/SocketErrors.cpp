#include "platform/SocketErrors.h"

#include <cerrno>
#include <cstring>

namespace quorvex::platform {

ESocketError::ESocketError(int code, const std::string& text)
    : Exception("Socket error " + std::to_string(code) + ": " + text)
    , code_(code) {}

ESocketError TimedOutSocketError() {
    return ESocketError(ETIMEDOUT, std::strerror(ETIMEDOUT));
}

void ThrowSocketError(int code) {
    throw ESocketError(code, std::strerror(code));
}

} // namespace quorvex::platform
