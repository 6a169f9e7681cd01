#include "support/RequestReading.h"

#include <sstream>

namespace quorvex::test_support {
namespace {

void ParseRequestLine(const std::string& line, RecordedRequest& request) {
    std::istringstream fields(line);
    fields >> request.Method >> request.Target >> request.Version;
}

} // namespace

std::optional<RecordedRequest> ReadRequest(TByteReader& reader) {
    std::optional<std::string> line = reader.ReadLineWithEnding();
    if (!line)
        return std::nullopt;
    RecordedRequest request;
    ParseRequestLine(*line, request);
    request.Raw = *line;
    while ((line = reader.ReadLineWithEnding())) {
        request.Raw += *line;
        std::string_view field = TrimControlAndSpace(*line);
        if (field.empty())
            break;
        request.Headers.AddLine(field);
    }
    const std::string length = request.Headers.Value("Content-Length");
    if (!length.empty())
        reader.ReadInto(request.Body, std::stoull(length));
    request.Raw += request.Body;
    return request;
}

} // namespace quorvex::test_support
