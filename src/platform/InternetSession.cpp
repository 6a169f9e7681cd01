#include "platform/InternetTransfer.h"

#include <algorithm>
#include <charconv>
#include <mutex>

namespace quorvex::platform {
namespace {

inline constexpr int kIPv4Octets = 4;
inline constexpr int kMaxWildcardOctets = 3; // "a.b.c.*"
inline constexpr int kBitsPerOctet = 8;
inline constexpr unsigned kMaxOctet = 255;

void InitializeLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// "10.*" or "192.168.1.*" as the network it names in CIDR form; empty for anything else.
std::string NetworkOf(const std::string& entry) {
    if (entry.size() < 3 || entry.compare(entry.size() - 2, 2, ".*") != 0)
        return {};
    const std::string prefix = entry.substr(0, entry.size() - 2);
    int octets = 0;
    std::size_t start = 0;
    while (start <= prefix.size()) {
        const auto dot = std::min(prefix.find('.', start), prefix.size());
        unsigned value = 0;
        const auto [end, error] =
            std::from_chars(prefix.data() + start, prefix.data() + dot, value);
        if (dot == start || error != std::errc() || end != prefix.data() + dot ||
            value > kMaxOctet || ++octets > kMaxWildcardOctets)
            return {};
        start = dot + 1;
    }
    std::string network = prefix;
    for (int i = octets; i < kIPv4Octets; ++i)
        network += ".0";
    return network + "/" + std::to_string(octets * kBitsPerOctet);
}

// One bypass entry in libcurl's terms. "*.example.com" becomes the domain (libcurl matches it
// and every name under it) and "192.168.*" its network; "<local>" (names without a dot) and
// other wildcards have no counterpart and are left out.
std::string NoProxyEntry(const std::string& entry) {
    if (entry == "<local>")
        return {};
    if (entry == "*" || entry.find('*') == std::string::npos)
        return entry;
    if (entry.rfind("*.", 0) == 0 && entry.find('*', 1) == std::string::npos)
        return entry.substr(1);
    return NetworkOf(entry);
}

} // namespace

std::string internet::NoProxyList(const std::string& bypass) {
    std::string list, entry;
    auto flush = [&] {
        if (const std::string mapped = NoProxyEntry(entry); !mapped.empty())
            list += (list.empty() ? "" : ",") + mapped;
        entry.clear();
    };
    for (const char c : bypass) {
        if (c == ';' || c == ',' || c == ' ' || c == '\t')
            flush();
        else
            entry += c;
    }
    flush();
    return list;
}

InternetSession::InternetSession(SessionSettings settings, StatusCallback onStatus)
    : settings_(std::move(settings))
    , onStatus_(std::move(onStatus)) {
    InitializeLibrary();
    Report(kStatusHandleCreated);
}

void InternetSession::Report(int status, const std::string& information) const {
    if (onStatus_)
        onStatus_(status, information);
}

} // namespace quorvex::platform
