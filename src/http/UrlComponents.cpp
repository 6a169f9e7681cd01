#include "http/UrlComponents.h"

#include "platform/UrlSplit.h"

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

} // namespace quorvex
