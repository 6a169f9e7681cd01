#include "platform/Crypto.h"

#include <QByteArray>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

namespace quorvex::platform {
namespace {

std::string FromHex(const char* hex) {
    return QByteArray::fromHex(hex).toStdString();
}

// The first test vector of RFC 8032: the empty message.
const std::string kPrivateKey =
    FromHex("9d61b19deffd5a60ba844af492ec2cc44449c5697b326919703bac031cae7f60");
const std::string kPublicKey =
    FromHex("d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a");
const std::string kEmptyMessageSignature =
    FromHex("e5564300c360ac729086e2cc806e828a84877f1eb8e5d974d873e065224901555fb8821590a33bacc6"
            "1e39701cf9b46bd25bf5f0595bbe24655141438e7a100b");

TEST(Crypto, Sha256MatchesKnownDigests) {
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha256Hex(std::string("a\0b", 3)), Sha256Hex(std::string("a\0b", 3)));
    EXPECT_NE(Sha256Hex(std::string("a\0b", 3)), Sha256Hex("a"));
}

TEST(Crypto, Md5MatchesKnownDigests) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Crypto, FileDigestCoversEveryBlockAndMissingFileHasNone) {
    const std::string path = testing::TempDir() + "crypto-digest.bin";
    std::string contents(200 * 1024 + 7, 'x'); // more than one read block
    contents[150 * 1024] = 'y';
    std::ofstream(path, std::ios::binary) << contents;
    EXPECT_EQ(FileSha256Hex(path), Sha256Hex(contents));
    std::remove(path.c_str());
    EXPECT_EQ(FileSha256Hex(path), std::nullopt);
}

TEST(Crypto, Ed25519MatchesTheStandardTestVector) {
    EXPECT_EQ(Ed25519PublicKey(kPrivateKey), kPublicKey);
    EXPECT_EQ(SignEd25519(kPrivateKey, ""), kEmptyMessageSignature);
    EXPECT_TRUE(VerifyEd25519(kPublicKey, "", kEmptyMessageSignature));
}

TEST(Crypto, Ed25519RefusesEveryChange) {
    const Ed25519Key key = GenerateEd25519Key();
    ASSERT_EQ(key.PublicKey, Ed25519PublicKey(key.PrivateKey));
    const std::string message = "#version=1.3.3.10\n#url=http://host/Quorvex/quorvex\n";
    const std::string signature = SignEd25519(key.PrivateKey, message);
    EXPECT_TRUE(VerifyEd25519(key.PublicKey, message, signature));

    std::string changedMessage = message;
    changedMessage[12] = '2';
    std::string changedSignature = signature;
    changedSignature[5] ^= 1;
    const Ed25519Key otherKey = GenerateEd25519Key();
    EXPECT_FALSE(VerifyEd25519(key.PublicKey, changedMessage, signature));
    EXPECT_FALSE(VerifyEd25519(key.PublicKey, message, changedSignature));
    EXPECT_FALSE(VerifyEd25519(otherKey.PublicKey, message, signature));
    EXPECT_FALSE(VerifyEd25519(key.PublicKey, message, signature.substr(1)));
    EXPECT_FALSE(VerifyEd25519(key.PublicKey.substr(1), message, signature));
    EXPECT_THROW(SignEd25519("short", message), ECryptoError);
}

TEST(Crypto, Base64IsStrict) {
    EXPECT_EQ(Base64Encode(std::string("\0\xff\x10", 3)), "AP8Q");
    EXPECT_EQ(Base64Decode("AP8Q"), std::string("\0\xff\x10", 3));
    EXPECT_EQ(Base64Decode("YWI="), "ab");
    EXPECT_EQ(Base64Decode("YWI"), std::nullopt);
    EXPECT_EQ(Base64Decode("YW*="), std::nullopt);
}

} // namespace
} // namespace quorvex::platform
