#pragma once

#include "http/ByteReader.h"
#include "http/HttpHeaders.h"

namespace quorvex {

// The status line and headers of a reply.
struct TWebReply {
    std::string StatusLine;
    int Code = -1;       // the second space-separated field; -1 when it is not a number
    std::string Version; // characters 6 to 8 of the status line, "1.0" or "1.1"
    THttpHeaders Headers;

    // A code in the 300s other than 304, or any reply with a Location header.
    bool IsRedirect() const;
    // 2xx and no redirect.
    bool IsAccepted() const;
    // Whether the connection may stay open after this reply to a request of `requestVersion`.
    bool AllowsKeepAlive(const std::string& requestVersion) const;
    // True when the body runs until the server closes (no length and not chunked).
    bool BodyEndsAtClose() const;
};

int StatusCodeOf(const std::string& statusLine);

// Reads the status line and headers, skipping interim 100 replies. Raises EConnectionClosed when
// the stream ends first and EMalformedReply for a head longer than kMaxHeadLength.
TWebReply ReadReplyHead(TByteReader& reader);

// Reads the body as the reply frames it: Content-Length, chunked, or up to the close. Raises
// EConnectionLost when the stream ends before a length or the last chunk is complete.
std::string ReadReplyBody(TByteReader& reader, const TWebReply& reply);

} // namespace quorvex
