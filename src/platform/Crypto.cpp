#include "platform/Crypto.h"

#include <QByteArray>
#include <array>
#include <fstream>
#include <memory>
#include <openssl/err.h>
#include <openssl/evp.h>

namespace quorvex::platform {
namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct DigestContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct KeyContextFree {
    void operator()(EVP_PKEY_CTX* context) const { EVP_PKEY_CTX_free(context); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, DigestContextFree>;
using KeyContext = std::unique_ptr<EVP_PKEY_CTX, KeyContextFree>;

inline constexpr std::size_t kFileReadBlock = 64 * 1024;

const unsigned char* Bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

[[noreturn]] void Fail(const std::string& what) {
    const unsigned long code = ERR_get_error();
    std::string message = what;
    if (code != 0) {
        std::array<char, 256> text{};
        ERR_error_string_n(code, text.data(), text.size());
        message += ": " + std::string(text.data());
    }
    ERR_clear_error();
    throw ECryptoError(message);
}

DigestContext NewDigestContext() {
    DigestContext context(EVP_MD_CTX_new());
    if (!context)
        Fail("cannot create a digest context");
    return context;
}

std::string Hex(const unsigned char* digest, unsigned int size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned int i = 0; i < size; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 0x0F];
    }
    return hex;
}

// Hashes what read() hands out with `algorithm` until it returns an empty view.
template <typename Reader>
std::string DigestOf(const EVP_MD* algorithm, const std::string& name, Reader read) {
    const DigestContext context = NewDigestContext();
    if (EVP_DigestInit_ex(context.get(), algorithm, nullptr) != 1)
        Fail("cannot start a " + name + " digest");
    for (std::string_view piece = read(); !piece.empty(); piece = read())
        if (EVP_DigestUpdate(context.get(), piece.data(), piece.size()) != 1)
            Fail("cannot compute a " + name + " digest");
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int size = 0;
    if (EVP_DigestFinal_ex(context.get(), digest.data(), &size) != 1)
        Fail("cannot finish a " + name + " digest");
    return Hex(digest.data(), size);
}

template <typename Reader> std::string Sha256Of(Reader read) {
    return DigestOf(EVP_sha256(), "SHA-256", read);
}

// A reader that hands out `bytes` once.
auto Once(std::string_view bytes) {
    return [bytes, given = false]() mutable -> std::string_view {
        if (given)
            return {};
        given = true;
        return bytes;
    };
}

Key PrivateKeyFromRaw(std::string_view privateKey) {
    if (privateKey.size() != kEd25519KeySize)
        throw ECryptoError("an Ed25519 private key has 32 bytes, not " +
                           std::to_string(privateKey.size()));
    Key key(EVP_PKEY_new_raw_private_key(EVP_PKEY_ED25519, nullptr, Bytes(privateKey),
                                         privateKey.size()));
    if (!key)
        Fail("cannot read the Ed25519 private key");
    return key;
}

std::string RawKey(EVP_PKEY* key, bool privatePart) {
    std::string raw(kEd25519KeySize, '\0');
    std::size_t size = raw.size();
    auto* out = reinterpret_cast<unsigned char*>(raw.data());
    const int result = privatePart ? EVP_PKEY_get_raw_private_key(key, out, &size)
                                   : EVP_PKEY_get_raw_public_key(key, out, &size);
    if (result != 1)
        Fail("cannot read the raw Ed25519 key");
    raw.resize(size);
    return raw;
}

} // namespace

std::string Sha256Hex(std::string_view bytes) {
    return Sha256Of(Once(bytes));
}

std::string Md5Hex(std::string_view bytes) {
    return DigestOf(EVP_md5(), "MD5", Once(bytes));
}

std::optional<std::string> FileSha256Hex(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string block(kFileReadBlock, '\0');
    std::string hex = Sha256Of([&]() -> std::string_view {
        file.read(block.data(), std::streamsize(block.size()));
        return {block.data(), std::size_t(file.gcount())};
    });
    if (file.bad())
        return std::nullopt;
    return hex;
}

bool VerifyEd25519(std::string_view publicKey, std::string_view message,
                   std::string_view signature) {
    if (publicKey.size() != kEd25519KeySize || signature.size() != kEd25519SignatureSize)
        return false;
    const Key key(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, Bytes(publicKey), publicKey.size()));
    if (!key) {
        ERR_clear_error();
        return false;
    }
    const DigestContext context = NewDigestContext();
    if (EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        Fail("cannot start an Ed25519 verification");
    const bool valid = EVP_DigestVerify(context.get(), Bytes(signature), signature.size(),
                                        Bytes(message), message.size()) == 1;
    ERR_clear_error();
    return valid;
}

Ed25519Key GenerateEd25519Key() {
    const KeyContext context(EVP_PKEY_CTX_new_id(EVP_PKEY_ED25519, nullptr));
    EVP_PKEY* generated = nullptr;
    if (!context || EVP_PKEY_keygen_init(context.get()) != 1 ||
        EVP_PKEY_keygen(context.get(), &generated) != 1)
        Fail("cannot generate an Ed25519 key");
    const Key key(generated);
    return {RawKey(key.get(), true), RawKey(key.get(), false)};
}

std::string Ed25519PublicKey(std::string_view privateKey) {
    return RawKey(PrivateKeyFromRaw(privateKey).get(), false);
}

std::string SignEd25519(std::string_view privateKey, std::string_view message) {
    const Key key = PrivateKeyFromRaw(privateKey);
    const DigestContext context = NewDigestContext();
    std::string signature(kEd25519SignatureSize, '\0');
    std::size_t size = signature.size();
    if (EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1 ||
        EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                       Bytes(message), message.size()) != 1)
        Fail("cannot sign with the Ed25519 key");
    signature.resize(size);
    return signature;
}

std::string Base64Encode(std::string_view bytes) {
    return QByteArray(bytes.data(), qsizetype(bytes.size())).toBase64().toStdString();
}

std::optional<std::string> Base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) // Qt would accept text without its padding
        return std::nullopt;
    const auto result = QByteArray::fromBase64Encoding(
        QByteArray(text.data(), qsizetype(text.size())), QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return std::nullopt;
    return result.decoded.toStdString();
}

} // namespace quorvex::platform
