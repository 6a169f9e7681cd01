#pragma once

#include "http/ByteReader.h"
#include "http/HttpHeaders.h"

#include <optional>

namespace quorvex {

// The largest request body a server of ours accepts.
inline constexpr uint64_t kMaxRequestBody = uint64_t{16} << 20;

// A request that cannot be read as HTTP (too long a head, bad or too large Content-Length).
class EBadRequest : public Exception {
public:
    explicit EBadRequest(const std::string& detail)
        : Exception(detail) {}
};

// One request as a server received it.
struct THttpRequest {
    std::string Raw; // request line, header lines, empty line and body, byte for byte
    std::string Method;
    std::string Target;
    std::string Version;
    THttpHeaders Headers;
    std::string Body;

    // The target up to "?", and what follows it.
    std::string Path() const;
    std::string Query() const;
};

// Reads one request: the head, then a body of Content-Length bytes. Nothing when the stream
// ends before a request line; EBadRequest for a head longer than kMaxHeadLength or a length that
// is no number or too large.
std::optional<THttpRequest> ReadRequest(TByteReader& reader);

} // namespace quorvex
