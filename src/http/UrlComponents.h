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

// Splits URL (taken as "http://" + URL when it has no "://") the way the transfer component
// does. On failure, or when a piece is longer than the room kept for it, returns false and
// leaves Parts as it was.
bool CrackURL(std::string_view URL, TURLComponents& Parts);

} // namespace quorvex
