#include "platform/InternetTransfer.h"

#include <strings.h>

namespace quorvex::platform {

std::string internet::Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

std::optional<std::string> internet::HeaderValue(const std::vector<std::string>& lines,
                                                 std::string_view name) {
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const auto colon = line.find(':');
        if (colon == std::string::npos || colon != name.size())
            continue;
        if (strncasecmp(line.data(), name.data(), name.size()) == 0)
            return Trimmed(std::string_view(line).substr(colon + 1));
    }
    return std::nullopt;
}

std::optional<std::string> InternetRequest::QueryHeader(std::string_view name) const {
    return internet::HeaderValue(transfer_->finalBlock, name);
}

std::string InternetRequest::RawHeaders() const {
    std::string raw;
    for (const std::string& line : transfer_->finalBlock) {
        std::string_view text(line);
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
            text.remove_suffix(1);
        if (!text.empty())
            raw.append(text).append("\r\n");
    }
    return raw.empty() ? raw : raw + "\r\n";
}

} // namespace quorvex::platform
