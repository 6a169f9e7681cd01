#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvex::platform {

// The pieces of an absolute URL with their %XX escapes turned back into bytes.
struct UrlPieces {
    std::string scheme;
    std::string host;
    std::uint16_t port = 0; // the scheme's default when the URL names none; 0 if unknown
    std::string user;
    std::string password;
    std::string path;
    std::string extra; // "?query#fragment", whatever of it the URL carries
};

// Splits an absolute URL with libcurl's URL parser; nullopt when it cannot be parsed.
std::optional<UrlPieces> SplitUrl(const std::string& url);

} // namespace quorvex::platform
