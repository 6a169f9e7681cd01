#pragma once

#include <cstdint>
#include <string>

namespace quorvex {

// The header fields of the next request; each becomes its header only when not empty
// (ContentLength only when 0 or more).
struct TWebRequest {
    std::string Connection;
    std::string ContentType = "text/html";
    int64_t ContentLength = -1;
    std::string ProxyConnection;
    std::string Host; // set from the URL for each request
    std::string Accept = "text/html, */*";
    std::string AcceptCharSet;
    std::string AcceptEncoding;
    std::string AcceptLanguage;
    std::string From;
    std::string Referer;
    std::string UserAgent = "Mozilla/3.0 (compatible; Quorvex)";
};

// The request line and header lines of a request, ended by the empty line.
std::string BuildRequestHead(const std::string& method, const std::string& target,
                             const std::string& version, const TWebRequest& request);

} // namespace quorvex
