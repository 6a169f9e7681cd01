#include "upgrader/upSignedInfo.h"

#include "download/upText.h"
#include "platform/Crypto.h"
#include "upgrader/upUpdateInfo.h"

#include <algorithm>

namespace quorvex {
namespace {

inline constexpr const char* kHashPrefix = "sha256";

bool IsBlankOrLineEnd(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 32;
}

} // namespace

TInfoSignature SplitInfoSignature(std::string_view Text) {
    const auto marker = text::LowerCase(Text).rfind(kSignatureMarker);
    if (marker == std::string::npos)
        return {Text, std::nullopt, false};
    const std::string_view rest = Text.substr(marker + std::string_view(kSignatureMarker).size());
    const auto end = std::find_if(rest.begin(), rest.end(), IsControl) - rest.begin();
    const std::string_view tail = rest.substr(end);
    const bool badTail = !std::all_of(tail.begin(), tail.end(), IsBlankOrLineEnd);
    return {Text.substr(0, marker), std::string(rest.substr(0, end)), badTail};
}

std::string HashKeyFor(const std::string& UrlKey) {
    return kHashPrefix + UrlKey.substr(std::string_view("url").size());
}

std::vector<std::string> InfoFileHashes(std::string_view Text) {
    std::vector<std::string> hashes;
    for (const auto& key : InfoFileKeys(Text))
        hashes.push_back(text::LowerCase(InfoValue(Text, HashKeyFor(key), false)));
    return hashes;
}

std::optional<std::string> VerifiedInfoText(std::string_view Text, const std::string& PublicKey) {
    const TInfoSignature parts = SplitInfoSignature(Text);
    if (PublicKey.empty())
        return std::string(parts.SignedText);
    if (!parts.Signature || parts.BadTail)
        return std::nullopt;
    const auto key = platform::Base64Decode(PublicKey);
    const auto signature = platform::Base64Decode(*parts.Signature);
    if (!key || !signature || !platform::VerifyEd25519(*key, parts.SignedText, *signature))
        return std::nullopt;
    const auto hashes = InfoFileHashes(parts.SignedText);
    if (std::any_of(hashes.begin(), hashes.end(), [](const auto& hash) { return hash.empty(); }))
        return std::nullopt;
    return std::string(parts.SignedText);
}

bool FileMatchesHash(const std::string& FileName, const std::string& ExpectedHash) {
    return ExpectedHash.empty() || platform::FileSha256Hex(FileName) == ExpectedHash;
}

} // namespace quorvex
