#include "cli/ReleaseCommand.h"

#include "platform/Crypto.h"
#include "support/Files.h"
#include "upgrader/upSignedInfo.h"
#include "upgrader/upUpdateInfo.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace quorvex::cli {
namespace {

namespace fs = std::filesystem;
using test_support::ReadWholeFile;

class ReleaseCommand : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(testing::TempDir()) / "release-command";
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "files");
        std::ofstream(folder_ / "files" / "quorvex", std::ios::binary) << "new program";
        std::ofstream(folder_ / "files" / "readme.txt", std::ios::binary) << "notes";
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Path(const char* name) const { return (folder_ / name).string(); }

    // Runs keygen into key and returns the public key it printed.
    std::string Keygen(const std::string& key) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(RunRelease({"keygen", "--key", key}), 0);
        const std::string output = testing::internal::GetCapturedStdout();
        const auto start = output.find("public key: ") + 12;
        return output.substr(start, output.find('\n', start) - start);
    }

    // Signs an information file with these contents under a fresh key (publicKey_) and
    // returns the signed file.
    std::string SignInfo(const std::string& contents) {
        const std::string key = Path("update.key");
        publicKey_ = Keygen(key);
        const std::string info = Path("update.inf");
        std::ofstream(info, std::ios::binary) << contents;
        testing::internal::CaptureStdout();
        EXPECT_EQ(RunRelease({"sign", info, "--key", key, "--files", Path("files")}), 0);
        testing::internal::GetCapturedStdout();
        return ReadWholeFile(info);
    }

    fs::path folder_;
    std::string publicKey_;
};

TEST(SetInfoValue, ReplacesTheFirstEntryInPlaceOrAddsALine) {
    EXPECT_EQ(SetInfoValue("#url=a\n#SHA256=old\r\nrest", "sha256", "new"),
              "#url=a\n#SHA256=new\r\nrest");
    EXPECT_EQ(SetInfoValue("#url=a", "sha256", "h"), "#url=a\n#sha256=h\n");
    EXPECT_EQ(SetInfoValue("#url=a\n#sha2560=x\n", "sha256", "h"),
              "#url=a\n#sha2560=x\n#sha256=h\n");
    EXPECT_EQ(SetInfoValue("", "sha256", "h"), "#sha256=h\n");
}

TEST(PublisherWarnings, NameEveryEntryTheRulesNeverReadAndAVersionComparedAsText) {
    const struct {
        const char* text;
        std::vector<std::string> warned; // the start of each warning
    } cases[] = {
        {"#version=1.3.3.10\n#url1=http://h/a\n#url2=http://h/b\n", {}},
        {"#version=1.3.3.10\n#url=http://h/a\n#url0=http://h/b\n#url1=http://h/c\n",
         {"#url1= is never read"}},
        {"#version=1.3.3.10 \n#URL1=http://h/a\n#url3=http://h/c\n",
         {"#url3= is never read", "#version=1.3.3.10  holds more"}},
    };
    for (const auto& each : cases) {
        const auto warnings = PublisherWarnings(each.text);
        ASSERT_EQ(warnings.size(), each.warned.size()) << each.text;
        for (std::size_t i = 0; i < warnings.size(); ++i)
            EXPECT_TRUE(warnings[i].starts_with(each.warned[i])) << warnings[i];
    }
}

TEST_F(ReleaseCommand, KeygenWritesAPrivateKeyForTheOwnerAndNeverOverwritesIt) {
    const std::string key = Path("update.key");
    const std::string publicKey = Keygen(key);
    EXPECT_EQ(fs::status(key).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    std::string stored = ReadWholeFile(key);
    stored.pop_back();
    const auto privateKey = platform::Base64Decode(stored);
    ASSERT_TRUE(privateKey);
    EXPECT_EQ(platform::Base64Encode(platform::Ed25519PublicKey(*privateKey)), publicKey);

    testing::internal::CaptureStderr();
    EXPECT_EQ(RunRelease({"keygen", "--key", key}), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("never overwritten"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(key), stored + "\n");
}

TEST_F(ReleaseCommand, SignWritesTheHashesAndASignatureTheProgramAccepts) {
    const std::string signedFile = SignInfo(
        "#version=1.3.3.10\n#url=http://h/Quorvex/quorvex\n#url2=http://h/Quorvex/readme.txt\n"
        "#sha256=stale\n#signature=old\n");
    const auto text = VerifiedInfoText(signedFile, publicKey_);
    ASSERT_TRUE(text) << signedFile;
    EXPECT_EQ(InfoFileHashes(*text), (std::vector<std::string>{platform::Sha256Hex("new program"),
                                                               platform::Sha256Hex("notes")}));
    EXPECT_EQ(signedFile.find("#signature=old"), std::string::npos);
    EXPECT_EQ(signedFile.find("stale"), std::string::npos);
}

TEST_F(ReleaseCommand, SigningAgainKeepsWhatWasAddedAfterTheOldSignature) {
    const std::string signedFile = SignInfo("#version=1.3.3.10\n#url=http://h/Quorvex/quorvex\n"
                                            "#signature=old\n#url0=http://h/Quorvex/readme.txt\n");
    const auto text = VerifiedInfoText(signedFile, publicKey_);
    ASSERT_TRUE(text) << signedFile;
    EXPECT_EQ(InfoFileList(*text), (std::vector<std::string>{"http://h/Quorvex/quorvex",
                                                             "http://h/Quorvex/readme.txt"}));
    EXPECT_EQ(text->find("#signature=old"), std::string::npos);
}

TEST_F(ReleaseCommand, SignRefusesAMissingFileAndBadCommandLines) {
    const std::string key = Path("update.key");
    Keygen(key);
    const std::string info = Path("update.inf");
    const std::string original = "#version=2\n#url=http://h/Quorvex/missing\n";
    std::ofstream(info, std::ios::binary) << original;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunRelease({"sign", info, "--key", key, "--files", Path("files")}), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("missing"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(info), original); // left as it was

    const std::vector<std::vector<std::string>> badLines = {
        {}, {"publish"}, {"sign", info}, {"sign", info, "--key", key}, {"keygen", "extra"}};
    for (const auto& line : badLines) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunRelease(line), 2);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("usage:"), std::string::npos);
    }
    std::ofstream(Path("bad.key")) << "not a key\n";
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunRelease({"sign", info, "--key", Path("bad.key"), "--files", Path("files")}), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no Ed25519 private key"),
              std::string::npos);
}

} // namespace
} // namespace quorvex::cli
