#include "platform/UrlSplit.h"

#include <cctype>
#include <curl/curl.h>
#include <memory>

namespace quorvex::platform {
namespace {

struct UrlHandleFree {
    void operator()(CURLU* handle) const { curl_url_cleanup(handle); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlHandleFree>;

// Reads one piece; an absent piece reads as empty, any other error as nullopt.
std::optional<std::string> Piece(CURLU* handle, CURLUPart part, unsigned flags) {
    char* text = nullptr;
    const CURLUcode code = curl_url_get(handle, part, &text, flags);
    if (code != CURLUE_OK) {
        const bool absent = code == CURLUE_NO_USER || code == CURLUE_NO_PASSWORD ||
                            code == CURLUE_NO_QUERY || code == CURLUE_NO_FRAGMENT ||
                            code == CURLUE_NO_HOST || code == CURLUE_NO_PORT;
        return absent ? std::optional<std::string>(std::string()) : std::nullopt;
    }
    std::string value(text);
    curl_free(text);
    return value;
}

// Turns %XX escapes back into bytes; unlike libcurl's query decoding, "+" stays "+".
std::string Unescaped(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool escape = text[i] == '%' && i + 2 < text.size() &&
                            std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                            std::isxdigit(static_cast<unsigned char>(text[i + 2]));
        if (escape) {
            result += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            result += text[i];
        }
    }
    return result;
}

} // namespace

std::optional<UrlPieces> SplitUrl(const std::string& url) {
    UrlHandle handle(curl_url());
    if (!handle)
        return std::nullopt;
    const unsigned parseFlags = CURLU_NON_SUPPORT_SCHEME | CURLU_ALLOW_SPACE;
    if (curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), parseFlags) != CURLUE_OK)
        return std::nullopt;
    auto scheme = Piece(handle.get(), CURLUPART_SCHEME, 0);
    auto host = Piece(handle.get(), CURLUPART_HOST, CURLU_URLDECODE);
    auto port = Piece(handle.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
    auto user = Piece(handle.get(), CURLUPART_USER, CURLU_URLDECODE);
    auto password = Piece(handle.get(), CURLUPART_PASSWORD, CURLU_URLDECODE);
    auto path = Piece(handle.get(), CURLUPART_PATH, CURLU_URLDECODE);
    auto query = Piece(handle.get(), CURLUPART_QUERY, 0);
    auto fragment = Piece(handle.get(), CURLUPART_FRAGMENT, 0);
    if (!scheme || !host || !port || !user || !password || !path || !query || !fragment)
        return std::nullopt;
    // An IPv6 literal comes back in its brackets; the host is the address itself.
    if (host->size() > 2 && host->front() == '[' && host->back() == ']')
        *host = host->substr(1, host->size() - 2);
    UrlPieces pieces{*scheme, *host, 0, *user, *password, *path, {}};
    if (!port->empty())
        pieces.port = static_cast<std::uint16_t>(std::stoul(*port));
    if (!query->empty())
        pieces.extra = "?" + Unescaped(*query);
    if (!fragment->empty())
        pieces.extra += "#" + Unescaped(*fragment);
    return pieces;
}

} // namespace quorvex::platform
