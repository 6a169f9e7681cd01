#pragma once

#include "platform/Exception.h"

namespace quorvex::platform {

// A failing socket call: the platform's error number and its short text.
class ESocketError : public Exception {
public:
    ESocketError(int code, const std::string& text);
    int Code() const { return code_; }

private:
    int code_;
};

// The connection attempt failed (refused, unreachable, name not resolved, ...).
class EConnectError : public ESocketError {
public:
    using ESocketError::ESocketError;
};

// The connection attempt neither succeeded nor failed within the wait limit.
class EConnectTimeout : public Exception {
public:
    EConnectTimeout()
        : Exception("Connection timed out.") {}
};

// No data arrived within a read time-out.
class EReadTimeout : public Exception {
public:
    EReadTimeout()
        : Exception("Read timed out") {}
};

// An operation on a socket that is closed.
class ENotConnected : public Exception {
public:
    ENotConnected()
        : Exception("Not connected") {}
};

// The platform's "timed out" socket error, for a wait that ran past its own limit.
ESocketError TimedOutSocketError();

// Raises ESocketError for `code` (an errno value) with strerror's text.
[[noreturn]] void ThrowSocketError(int code);

} // namespace quorvex::platform
