#pragma once

#include "platform/Exception.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvex::platform {

// A failure of the cryptography library, or a key that is not a key.
class ECryptoError : public Exception {
public:
    using Exception::Exception;
};

inline constexpr std::size_t kEd25519KeySize = 32;
inline constexpr std::size_t kEd25519SignatureSize = 64;

// The SHA-256 digest of bytes as 64 lower-case hex digits.
std::string Sha256Hex(std::string_view bytes);

// The MD5 digest of bytes as 32 lower-case hex digits; only for services that sign requests
// with it, never for integrity.
std::string Md5Hex(std::string_view bytes);

// The SHA-256 digest of a file's contents as lower-case hex; nullopt when it cannot be read.
std::optional<std::string> FileSha256Hex(const std::string& path);

// Whether signature is the Ed25519 signature of message under the raw 32-byte public key.
// A key or signature of the wrong length simply does not verify.
bool VerifyEd25519(std::string_view publicKey, std::string_view message,
                   std::string_view signature);

// A fresh Ed25519 key: the raw 32-byte private key and its public key.
struct Ed25519Key {
    std::string PrivateKey;
    std::string PublicKey;
};
Ed25519Key GenerateEd25519Key();
// The public key that belongs to a raw private key.
std::string Ed25519PublicKey(std::string_view privateKey);
// The 64-byte signature of message with a raw private key.
std::string SignEd25519(std::string_view privateKey, std::string_view message);

std::string Base64Encode(std::string_view bytes);
// nullopt for text that is not strict base64 (padding included).
std::optional<std::string> Base64Decode(std::string_view text);

} // namespace quorvex::platform
