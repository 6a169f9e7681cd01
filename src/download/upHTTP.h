#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

// The pieces of a URL as CrackURL hands them out, escapes decoded.
struct TURLComponents {
    std::string Scheme;
    std::string HostName;
    std::uint16_t Port = 0;
    std::string UserName;
    std::string Password;
    std::string UrlPath;
    std::string ExtraInfo; // from the question mark on
};

// Splits URL (taken as "http://" + URL when it has no "://"). On failure, or when a piece is
// longer than the room kept for it, returns false and leaves Parts as it was.
bool CrackURL(std::string_view URL, TURLComponents& Parts);

// Escapes control bytes, bytes from 128 on and space # % * + < > as %XX (upper-case digits);
// every other byte stays as it is.
std::string PercentEncode(std::string_view Text);

// The host name of URL; empty when it cannot be split.
std::string HostFromURL(std::string_view URL);

// The last piece of URL's path; empty when it cannot be split.
std::string FileNameFromURL(std::string_view URL);

} // namespace quorvex
