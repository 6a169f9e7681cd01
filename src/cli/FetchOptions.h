#pragma once

#include "platform/Exception.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::cli {

inline constexpr const char* kFetchUsage =
    "usage: quorvex-fetch URL [-o FILE] [--range START-END] [--resume] [--proxy HOST:PORT]\n"
    "                     [--proxy-user U:P] [--user U:P] [--buffer N] [--quiet]";

// The command line was not understood; the message says why.
class EUsageError : public Exception {
public:
    using Exception::Exception;
};

struct FetchOptions {
    std::string url;
    std::string output; // empty: the body goes to standard output
    std::uint32_t rangeStart = 0;
    std::uint32_t rangeEnd = 0;
    bool resume = false;
    std::string proxyHost;
    int proxyPort = 0;
    std::optional<std::string> proxyUser, proxyPassword;
    std::optional<std::string> user, password;
    std::optional<std::uint32_t> buffer;
    bool quiet = false;
};

// Raises EUsageError for anything it cannot read.
FetchOptions ParseFetchOptions(const std::vector<std::string>& arguments);

} // namespace quorvex::cli
