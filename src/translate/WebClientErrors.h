#pragma once

#include "platform/SocketErrors.h"

namespace quorvex {

// The HTTP client's failures; socket-level ones (EConnectError, EConnectTimeout, EReadTimeout,
// ENotConnected, ESocketError) come from the platform layer.
using platform::EConnectError;
using platform::EConnectTimeout;
using platform::ENotConnected;
using platform::EReadTimeout;
using platform::ESocketError;

// A reply whose status the client does not accept (not 2xx, or a redirect); the message is
// the status line.
class EHTTPProtocolError : public Exception {
public:
    EHTTPProtocolError(int code, const std::string& statusLine, std::string body)
        : Exception(statusLine)
        , code_(code)
        , body_(std::move(body)) {}

    int Code() const { return code_; }
    const std::string& Body() const { return body_; }

private:
    int code_;
    std::string body_;
};

// The server closed the connection before a complete status line and headers.
class EConnectionClosed : public Exception {
public:
    EConnectionClosed()
        : Exception("Connection closed before the reply body") {}
};

// The server closed the connection in the middle of the reply body.
class EConnectionLost : public Exception {
public:
    explicit EConnectionLost(const std::string& detail)
        : Exception("Connection lost: " + detail) {}
};

// A reply that does not follow HTTP (for instance a chunk size that is not a number).
class EMalformedReply : public Exception {
public:
    explicit EMalformedReply(const std::string& detail)
        : Exception("Malformed HTTP reply: " + detail) {}
};

} // namespace quorvex
