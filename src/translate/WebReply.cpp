#include "translate/WebReply.h"

#include "translate/WebClientErrors.h"

#include <algorithm>
#include <charconv>

namespace quorvex {
namespace {

constexpr int kNoCode = -1;
// No more than this is reserved ahead for a body, whatever length the reply announces.
constexpr size_t kMaxBodyReservation = size_t{256} << 20;

// The value of `text` as an unsigned number in `base`, or nothing when it is not one.
std::optional<uint64_t> ParseUnsigned(std::string_view text, int base) {
    uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The announced length: nothing without a valid Content-Length header.
std::optional<uint64_t> ContentLengthOf(const TWebReply& reply) {
    return ParseUnsigned(TrimControlAndSpace(reply.Headers.Value("Content-Length")), 10);
}

bool HasNoBody(int code) {
    constexpr int kNoContent = 204;
    constexpr int kNotModified = 304;
    return code == kNoContent || code == kNotModified;
}

bool IsChunked(const TWebReply& reply) {
    return ContainsIgnoringCase(reply.Headers.Value("Transfer-Encoding"), "chunked");
}

TWebReply ReadOneHead(TByteReader& reader) {
    std::optional<std::string> line = reader.ReadLine();
    if (!line)
        throw EConnectionClosed();
    TWebReply reply;
    reply.StatusLine = *line;
    reply.Code = StatusCodeOf(reply.StatusLine);
    reply.Version = reply.StatusLine.substr(std::min<size_t>(5, line->size()), 3);
    size_t headLength = line->size();
    while ((line = reader.ReadLine()) && !line->empty()) {
        headLength += line->size();
        if (headLength > kMaxHeadLength)
            throw EMalformedReply("the head is longer than " + std::to_string(kMaxHeadLength) +
                                  " bytes");
        reply.Headers.AddLine(*line);
    }
    if (!line)
        throw EConnectionClosed();
    return reply;
}

void ReadSizedBody(TByteReader& reader, uint64_t length, std::string& body) {
    TByteReader::Reserve(body, std::min<uint64_t>(length, kMaxBodyReservation));
    size_t received = reader.ReadInto(body, length);
    if (received < length) {
        throw EConnectionLost("the body ended after " + std::to_string(received) + " of " +
                              std::to_string(length) + " bytes");
    }
}

void ReadChunkedBody(TByteReader& reader, std::string& body) {
    for (;;) {
        std::optional<std::string> sizeLine = reader.ReadLine();
        if (!sizeLine)
            throw EConnectionLost("the chunked body ended before its last chunk");
        std::string_view sizeText = *sizeLine;
        sizeText = TrimControlAndSpace(sizeText.substr(0, sizeText.find_first_of(" ;")));
        std::optional<uint64_t> size = ParseUnsigned(sizeText, 16);
        if (!size)
            throw EMalformedReply("bad chunk size \"" + *sizeLine + "\"");
        if (*size == 0)
            break;
        ReadSizedBody(reader, *size, body);
        if (!reader.ReadLine())
            throw EConnectionLost("the chunked body ended before its last chunk");
    }
    // Trailer lines up to the empty line; a server that closes right away has said all.
    std::optional<std::string> trailer;
    do {
        trailer = reader.ReadLine();
    } while (trailer && !trailer->empty());
}

} // namespace

int StatusCodeOf(const std::string& statusLine) {
    size_t start = statusLine.find(' ');
    if (start == std::string::npos)
        return kNoCode;
    std::string_view field = std::string_view(statusLine).substr(start + 1);
    field = field.substr(0, field.find(' '));
    std::optional<uint64_t> code = ParseUnsigned(field, 10);
    return code && *code <= 999 ? static_cast<int>(*code) : kNoCode;
}

bool TWebReply::IsRedirect() const {
    constexpr int kNotModified = 304;
    return (Code >= 300 && Code <= 399 && Code != kNotModified) || Headers.Has("Location");
}

bool TWebReply::IsAccepted() const {
    return Code >= 200 && Code <= 299 && !IsRedirect();
}

bool TWebReply::AllowsKeepAlive(const std::string& requestVersion) const {
    const std::string connection = Headers.Value("Connection");
    const std::string proxyConnection = Headers.Value("Proxy-Connection");
    if (requestVersion == "1.0") {
        return ContainsIgnoringCase(connection, "keep-alive") ||
               ContainsIgnoringCase(proxyConnection, "keep-alive");
    }
    return !ContainsIgnoringCase(connection, "close") &&
           !ContainsIgnoringCase(proxyConnection, "close");
}

bool TWebReply::BodyEndsAtClose() const {
    return !HasNoBody(Code) && !IsChunked(*this) && !Headers.Has("Content-Length");
}

TWebReply ReadReplyHead(TByteReader& reader) {
    constexpr int kContinue = 100;
    TWebReply reply = ReadOneHead(reader);
    while (reply.Code == kContinue)
        reply = ReadOneHead(reader);
    return reply;
}

std::string ReadReplyBody(TByteReader& reader, const TWebReply& reply) {
    std::string body;
    if (HasNoBody(reply.Code))
        return body;
    std::optional<uint64_t> length = ContentLengthOf(reply);
    if (length && *length > 0)
        ReadSizedBody(reader, *length, body);
    else if (IsChunked(reply))
        ReadChunkedBody(reader, body);
    else if (reply.BodyEndsAtClose())
        reader.ReadToEnd(body);
    return body;
}

} // namespace quorvex
