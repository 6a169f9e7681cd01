#pragma once

#include "platform/Exception.h"

#include <cstdint>
#include <string>

namespace quorvex {

// A URL the client cannot use (a bad port, or a protocol other than http).
class EInvalidUrl : public Exception {
public:
    explicit EInvalidUrl(const std::string& detail)
        : Exception("Invalid URL: " + detail) {}
};

// A URL split for a request; the target is sent exactly as the caller wrote it.
struct TUrl {
    std::string Protocol;
    std::string Host;
    uint16_t Port = 0;
    std::string Target; // path, document and query; "/" when the URL has none

    // The Host header: the host, with ":" and the port when the port is not 80.
    std::string HostHeader() const;
};

// Splits `url` after turning backslashes into slashes. No protocol means "http"; no port
// means `defaultPort` for http.
TUrl SplitUrl(std::string url, uint16_t defaultPort);

} // namespace quorvex
