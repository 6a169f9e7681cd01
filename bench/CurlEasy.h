#pragma once

#include <string>
#include <vector>

namespace quorvex::bench {

// The reference the HTTP client is measured against: libcurl's easy interface in this process,
// each transfer on an easy handle of its own, the body collected into a string as TWebClient
// returns it.
std::string CurlGet(const std::string& url);
// The same GET with the body only counted, not kept: the floor of what the transport costs.
size_t CurlGetCounting(const std::string& url);
// A form POST of `body` (already encoded) as HTTP/1.0, as TWebClient sends the translation form.
std::string CurlPost(const std::string& url, const std::string& body);

} // namespace quorvex::bench
