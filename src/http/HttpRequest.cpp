#include "http/HttpRequest.h"

#include <charconv>
#include <sstream>

namespace quorvex {
namespace {

void ParseRequestLine(const std::string& line, THttpRequest& request) {
    std::istringstream fields(line);
    fields >> request.Method >> request.Target >> request.Version;
}

uint64_t BodyLength(const THttpRequest& request) {
    const std::string text(TrimControlAndSpace(request.Headers.Value("Content-Length")));
    if (text.empty())
        return 0;
    uint64_t length = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
    if (error != std::errc() || end != text.data() + text.size())
        throw EBadRequest("the Content-Length \"" + text + "\" is not a number");
    if (length > kMaxRequestBody)
        throw EBadRequest("the body of " + text + " bytes is too large");
    return length;
}

} // namespace

std::string THttpRequest::Path() const {
    return Target.substr(0, Target.find('?'));
}

std::string THttpRequest::Query() const {
    size_t question = Target.find('?');
    return question == std::string::npos ? "" : Target.substr(question + 1);
}

std::optional<THttpRequest> ReadRequest(TByteReader& reader) {
    std::optional<std::string> line = reader.ReadLineWithEnding();
    if (!line)
        return std::nullopt;
    THttpRequest request;
    ParseRequestLine(*line, request);
    request.Raw = *line;
    while ((line = reader.ReadLineWithEnding())) {
        request.Raw += *line;
        if (request.Raw.size() > kMaxHeadLength)
            throw EBadRequest("the head is longer than " + std::to_string(kMaxHeadLength) +
                              " bytes");
        std::string_view field = TrimControlAndSpace(*line);
        if (field.empty())
            break;
        request.Headers.AddLine(field);
    }
    reader.ReadInto(request.Body, BodyLength(request));
    request.Raw += request.Body;
    return request;
}

} // namespace quorvex
