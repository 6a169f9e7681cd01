#include "platform/Crypto.h"
#include "upgrader/upSignedInfo.h"
#include "upgrader/upUpdateInfo.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

const platform::Ed25519Key kKey = platform::GenerateEd25519Key();
const std::string kPublicKey = platform::Base64Encode(kKey.PublicKey);

inline constexpr const char* kHashA =
    "ca978112ca1bbdcafac231b39a23dc4da786eff8147c4e72b9807785afee48bb"; // of "a"
inline constexpr const char* kHashB =
    "3e23e8160039594a33894f6564e1b1348bbd7a0088d42c4acb73eeaed59c009d"; // of "b"

const std::string kBody = std::string("#version=1.3.3.10\r\n#url1=http://h/a\r\n#sha2561=") +
                          kHashA + "\r\n#url2=http://h/b\r\n#SHA2562=" + kHashB + "\r\n";

std::string Signed(const std::string& body) {
    return body +
           "#signature=" + platform::Base64Encode(platform::SignEd25519(kKey.PrivateKey, body)) +
           "\r\n";
}

TEST(SignedInfo, HashKeysFollowTheFileListNumbering) {
    const struct {
        const char* text;
        std::vector<std::string> keys;
    } cases[] = {
        {"#url=a\n#url0=b\n#url3=c\n#url4=", {"url", "url0", "url3"}},
        {"#url=a\n#url2=b\n#url1=x", {"url", "url2"}},
        {"#url1=a\n#url2=b", {"url1", "url2"}},
        {"#version=1", {}},
    };
    for (const auto& each : cases)
        EXPECT_EQ(InfoFileKeys(each.text), each.keys) << each.text;
    EXPECT_EQ(HashKeyFor("url"), "sha256");
    EXPECT_EQ(HashKeyFor("url0"), "sha2560");
    EXPECT_EQ(HashKeyFor("url12"), "sha25612");
    EXPECT_EQ(InfoFileHashes(kBody), (std::vector<std::string>{kHashA, kHashB}));
    EXPECT_EQ(InfoFileHashes("#url=a\n#sha256=ABC\n#url0=b\n"),
              (std::vector<std::string>{"abc", ""}));
}

TEST(SignedInfo, AGoodSignatureVerifiesAndOnlyTheSignedPartIsRead) {
    const std::string file = Signed(kBody);
    EXPECT_EQ(VerifiedInfoText(file, kPublicKey), kBody);
    EXPECT_EQ(VerifiedInfoText(file, ""), kBody); // no key built in: read as before
    const auto parts = SplitInfoSignature(file);
    EXPECT_EQ(parts.SignedText, kBody);
    EXPECT_FALSE(parts.BadTail);
}

TEST(SignedInfo, EveryChangeOrGapIsNoInformationFileWithAKey) {
    std::string changedByte = Signed(kBody);
    changedByte[12] = '2'; // 1.3.3.20
    std::string changedSignature = Signed(kBody);
    changedSignature[changedSignature.size() - 6] ^= 1;
    const std::string noHashBody = "#version=1.3.3.10\n#url=http://h/a\n";
    const platform::Ed25519Key otherKey = platform::GenerateEd25519Key();
    const struct {
        const char* what;
        std::string file;
    } cases[] = {
        {"a changed byte", changedByte},
        {"a changed signature", changedSignature},
        {"no signature", kBody},
        {"an entry added after the signature", Signed(kBody) + "#url3=http://evil/x\n"},
        {"a listed file without a hash", Signed(noHashBody)},
        {"a signature that is not base64", kBody + "#signature=@@@@\n"},
        {"another key's signature",
         kBody + "#signature=" +
             platform::Base64Encode(platform::SignEd25519(otherKey.PrivateKey, kBody)) + "\n"},
    };
    for (const auto& each : cases)
        EXPECT_EQ(VerifiedInfoText(each.file, kPublicKey), std::nullopt) << each.what;
    EXPECT_EQ(VerifiedInfoText(noHashBody, ""), noHashBody); // no key: nothing is required
}

TEST(SignedInfo, AFileMatchesOnlyItsOwnHash) {
    const std::string path = testing::TempDir() + "signed-info-a";
    std::ofstream(path, std::ios::binary) << "a";
    EXPECT_TRUE(FileMatchesHash(path, kHashA));
    EXPECT_FALSE(FileMatchesHash(path, kHashB));
    EXPECT_TRUE(FileMatchesHash(path, "")); // no entry: nothing to match
    std::remove(path.c_str());
    EXPECT_FALSE(FileMatchesHash(path, kHashA));
}

} // namespace
} // namespace quorvex
