#include "http/WebUrl.h"

#include "http/HttpHeaders.h"

#include <algorithm>
#include <charconv>

namespace quorvex {
namespace {

constexpr std::string_view kProtocolSeparator = "://";
constexpr uint16_t kHttpPort = 80;

uint16_t ParsePort(std::string_view text, const std::string& url) {
    unsigned value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535)
        throw EInvalidUrl("bad port in " + url);
    return static_cast<uint16_t>(value);
}

} // namespace

std::string TUrl::HostHeader() const {
    return Port == kHttpPort ? Host : Host + ":" + std::to_string(Port);
}

TUrl SplitUrl(std::string url, uint16_t defaultPort) {
    std::replace(url.begin(), url.end(), '\\', '/');
    TUrl split;
    std::string_view rest = url;
    size_t separator = rest.find(kProtocolSeparator);
    split.Protocol = separator == std::string_view::npos ? "http" : url.substr(0, separator);
    if (separator != std::string_view::npos)
        rest.remove_prefix(separator + kProtocolSeparator.size());
    if (!EqualsIgnoringCase(split.Protocol, "http"))
        throw EInvalidUrl("only http is supported: " + url);

    size_t targetStart = std::min(rest.find('/'), rest.find('?'));
    std::string_view authority = rest.substr(0, targetStart);
    split.Target =
        targetStart == std::string_view::npos ? "/" : std::string(rest.substr(targetStart));
    if (split.Target.front() == '?')
        split.Target.insert(0, "/");

    size_t colon = authority.rfind(':');
    split.Host = std::string(authority.substr(0, colon));
    split.Port =
        colon == std::string_view::npos ? defaultPort : ParsePort(authority.substr(colon + 1), url);
    return split;
}

} // namespace quorvex
