#include "translate/WebRequest.h"

#include <utility>
#include <vector>

namespace quorvex {
namespace {

// Longer header lines are folded onto continuation lines.
constexpr size_t kMaxHeaderLineLength = 1024;

// "Name: value" with CR LF, folded at spaces so that no line exceeds kMaxHeaderLineLength
// (a piece without any space stays whole).
std::string HeaderLine(const std::string& name, const std::string& value) {
    std::string line = name + ": " + value;
    std::string folded;
    size_t firstFoldPoint = name.size() + 2; // never inside "Name: "
    while (line.size() > kMaxHeaderLineLength) {
        size_t space = line.rfind(' ', kMaxHeaderLineLength);
        if (space == std::string::npos || space < firstFoldPoint)
            break;
        folded += line.substr(0, space) + "\r\n";
        line.erase(0, space); // the continuation line starts with the space
        firstFoldPoint = 1;
    }
    return folded + line + "\r\n";
}

} // namespace

std::string BuildRequestHead(const std::string& method, const std::string& target,
                             const std::string& version, const TWebRequest& request) {
    const std::string contentLength =
        request.ContentLength >= 0 ? std::to_string(request.ContentLength) : "";
    const std::vector<std::pair<const char*, const std::string&>> headers{
        {"Connection", request.Connection},
        {"Content-Type", request.ContentType},
        {"Content-Length", contentLength},
        {"Proxy-Connection", request.ProxyConnection},
        {"Host", request.Host},
        {"Accept", request.Accept},
        {"Accept-Charset", request.AcceptCharSet},
        {"Accept-Encoding", request.AcceptEncoding},
        {"Accept-Language", request.AcceptLanguage},
        {"From", request.From},
        {"Referer", request.Referer},
        {"User-Agent", request.UserAgent},
    };
    std::string head = method + " " + target + " HTTP/" + version + "\r\n";
    for (const auto& [name, value] : headers) {
        if (!value.empty())
            head += HeaderLine(name, value);
    }
    return head + "\r\n";
}

} // namespace quorvex
