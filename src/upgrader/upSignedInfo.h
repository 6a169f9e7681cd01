#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// An information file may carry the SHA-256 of each listed file ("#sha256=" beside "#url=",
// "#sha2560=" beside "#url0=", "#sha256N=" beside "#urlN=") and, as its last entry, the base64
// Ed25519 signature of every byte before the "#signature=" marker. Files without any of it
// read as they always did.

inline constexpr const char* kSignatureMarker = "#signature=";

// The signed part (everything before the last signature marker, or the whole text) and the
// signature's base64 text as it stands (nullopt without a marker). A signature followed by
// anything but blanks and line ends is no signature at all: BadTail is then set.
struct TInfoSignature {
    std::string_view SignedText;
    std::optional<std::string> Signature;
    bool BadTail = false;
};
TInfoSignature SplitInfoSignature(std::string_view Text);

// The text a check reads. Without a key (empty PublicKey, base64): the signed part, signature
// or not. With a key: the signed part when the signature verifies under it and every listed
// file carries a hash; nullopt otherwise, which counts as no information file.
std::optional<std::string> VerifiedInfoText(std::string_view Text, const std::string& PublicKey);

// The key of a listed file's hash entry ("sha256", "sha2560", "sha2563"...) from the file's
// key ("url", "url0", "url3"...).
std::string HashKeyFor(const std::string& UrlKey);

// The expected hash of each listed file in file-list order, lower-cased; empty where the file
// has no hash entry.
std::vector<std::string> InfoFileHashes(std::string_view Text);

// Whether a file's contents match an expected hash; true when none is expected.
bool FileMatchesHash(const std::string& FileName, const std::string& ExpectedHash);

} // namespace quorvex
