#include "support/FileServer.h"

#include <algorithm>
#include <charconv>

namespace quorvex::test_support {
namespace {

struct ByteRange {
    size_t start = 0;
    std::optional<size_t> end; // inclusive
};

// "bytes=S-" or "bytes=S-E" (any case); nullopt for anything else.
std::optional<ByteRange> ParseRange(std::string_view value) {
    const std::string_view prefix = "bytes=";
    if (value.size() < prefix.size() || !EqualsIgnoringCase(value.substr(0, prefix.size()), prefix))
        return std::nullopt;
    value.remove_prefix(prefix.size());
    const auto dash = value.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    ByteRange range;
    if (std::from_chars(value.data(), value.data() + dash, range.start).ec != std::errc())
        return std::nullopt;
    const std::string_view end = value.substr(dash + 1);
    size_t last = 0;
    if (!end.empty() &&
        std::from_chars(end.data(), end.data() + end.size(), last).ec == std::errc())
        range.end = last;
    return range;
}

std::string Base64(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        unsigned value = 0;
        for (size_t j = 0; j < 3; ++j)
            value = (value << 8) | (j < n ? static_cast<unsigned char>(bytes[i + j]) : 0u);
        for (size_t j = 0; j < 4; ++j)
            out += j <= n ? kDigits[(value >> (18 - 6 * j)) & 63] : '=';
    }
    return out;
}

} // namespace

std::string BasicAuthorization(const std::string& login) {
    return "Basic " + Base64(login);
}

FileServer::FileServer(FileServerOptions options)
    : LoopbackHttpServer([this](const RecordedRequest& request) { return Answer(request); })
    , options_(std::move(options)) {}

FileServer::~FileServer() {
    Stop();
}

Reply FileServer::Answer(const RecordedRequest& request) const {
    const std::string path = request.Target.substr(0, request.Target.find('?'));
    const bool proxied = request.Target.rfind("http://", 0) == 0;
    const std::string local = proxied ? path.substr(path.find('/', 7)) : path;
    if (local != options_.Path)
        return Reply::WithBody(404, "Not Found", "<html>no such file</html>",
                               {"Content-Type: text/html", "Connection: close"});
    if (!options_.Realm.empty() &&
        request.Headers.Value("Authorization") != BasicAuthorization(options_.Login))
        return Reply::WithBody(
            401, "Unauthorized", "login required",
            {"WWW-Authenticate: Basic realm=\"" + options_.Realm + "\"", "Connection: close"});
    const size_t size = options_.Content->size();
    const auto range = options_.HonourRanges && request.Headers.Has("Range")
                           ? ParseRange(request.Headers.Value("Range"))
                           : std::nullopt;
    if (!range)
        return Body(200, "OK", 0, size, "");
    if (range->start >= size)
        return Reply::WithBody(
            416, "Range Not Satisfiable", "",
            {"Content-Range: bytes */" + std::to_string(size), "Connection: close"});
    const size_t last = std::min(range->end.value_or(size - 1), size - 1);
    const std::string contentRange = "Content-Range: bytes " + std::to_string(range->start) + "-" +
                                     std::to_string(last) + "/" + std::to_string(size) + "\r\n";
    return Body(206, "Partial Content", range->start, last + 1 - range->start, contentRange);
}

Reply FileServer::Body(int code, std::string_view reason, size_t start, size_t length,
                       const std::string& extraHeader) const {
    std::string head = "HTTP/1.1 " + std::to_string(code) + " " + std::string(reason) + "\r\n" +
                       "Content-Type: " + options_.ContentType + "\r\n" + extraHeader +
                       "Connection: close\r\n";
    if (options_.SendContentLength)
        head += "Content-Length: " + std::to_string(length) + "\r\n";
    Reply reply = Reply::Raw(head + "\r\n");
    const size_t sent = std::min(length, options_.CloseAfter.value_or(length));
    const bool whole = start == 0 && sent == options_.Content->size();
    if (options_.SlowPieceSize == 0) {
        if (whole)
            reply.Send(options_.Content); // shared, not copied: bodies may be large
        else
            reply.Send(options_.Content->substr(start, sent));
    } else {
        for (size_t at = 0; at < sent; at += options_.SlowPieceSize)
            reply.Delay(options_.SlowPause)
                .Send(options_.Content->substr(start + at,
                                               std::min(options_.SlowPieceSize, sent - at)));
    }
    return reply.Close();
}

} // namespace quorvex::test_support
