#include "download/upHTTP.h"
#include "download/upUtils.h"
#include "platform/UrlSplit.h"

#include <cctype>

namespace quorvex {
namespace {

// Room for each piece, as the internet library's URL splitter is given it (terminator excluded).
inline constexpr std::size_t kMaxScheme = 32;
inline constexpr std::size_t kMaxHostName = 256;
inline constexpr std::size_t kMaxUserName = 128;
inline constexpr std::size_t kMaxPassword = 128;
inline constexpr std::size_t kMaxUrlPath = 2048;
inline constexpr std::size_t kMaxExtraInfo = 2048;

bool FitsTheRoom(const platform::UrlPieces& pieces) {
    return pieces.scheme.size() <= kMaxScheme && pieces.host.size() <= kMaxHostName &&
           pieces.user.size() <= kMaxUserName && pieces.password.size() <= kMaxPassword &&
           pieces.path.size() <= kMaxUrlPath && pieces.extra.size() <= kMaxExtraInfo;
}

bool NeedsEscape(unsigned char byte) {
    if (byte < 0x20 || byte >= 0x80)
        return true;
    return std::string_view(" #%*+<>").find(static_cast<char>(byte)) != std::string_view::npos;
}

// What a path segment may hold unescaped: letters, digits and "-._~!$&'()*+,;=:@/".
bool AllowedInPath(unsigned char byte) {
    return std::isalnum(byte) != 0 ||
           std::string_view("-._~!$&'()*+,;=:@/").find(static_cast<char>(byte)) !=
               std::string_view::npos;
}

std::string Escaped(std::string_view text, bool (*needsEscape)(unsigned char)) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (needsEscape(byte)) {
            result += '%';
            result += kHexDigits[byte >> 4];
            result += kHexDigits[byte & 0x0F];
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

bool CrackURL(std::string_view URL, TURLComponents& Parts) {
    std::string full(URL);
    if (full.find("://") == std::string::npos)
        full = "http://" + full;
    const auto pieces = platform::SplitUrl(full);
    if (!pieces || !FitsTheRoom(*pieces))
        return false;
    Parts = {pieces->scheme,   pieces->host, pieces->port, pieces->user,
             pieces->password, pieces->path, pieces->extra};
    return true;
}

std::string PercentEncode(std::string_view Text) {
    return Escaped(Text, NeedsEscape);
}

std::string EncodeURLPath(std::string_view Path) {
    return Escaped(Path, [](unsigned char byte) { return !AllowedInPath(byte); });
}

std::string HostFromURL(std::string_view URL) {
    TURLComponents parts;
    return CrackURL(URL, parts) ? parts.HostName : std::string();
}

std::string FileNameFromURL(std::string_view URL) {
    TURLComponents parts;
    return CrackURL(URL, parts) ? ExtractURLFileName(parts.UrlPath) : std::string();
}

} // namespace quorvex
