#include "platform/UpgradeFiles.h"

#include "platform/Exception.h"
#include "support/ScopedEnvironment.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quorvex::platform {
namespace {

namespace fs = std::filesystem;

class UpgradeFiles : public testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("quorvex-upgrade-files-" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_;
};

TEST_F(UpgradeFiles, ANewExecutableIsNeverWrittenThroughWhatLiesThere) {
    const fs::path victim = root_ / "victim";
    std::ofstream(victim) << "keep";
    fs::create_symlink(victim, root_ / "link");
    EXPECT_THROW(WriteNewExecutable((root_ / "link").string(), "planted"), Exception);
    EXPECT_THROW(WriteNewExecutable(victim.string(), "planted"), Exception);
    EXPECT_THROW(WriteNewExecutable((root_ / "no folder" / "x").string(), "x"), Exception);
    std::ifstream kept(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep");

    const fs::path fresh = root_ / "fresh";
    WriteNewExecutable(fresh.string(), std::string(100000, 'b'));
    EXPECT_EQ(fs::file_size(fresh), 100000u);
    EXPECT_EQ(fs::status(fresh).permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST_F(UpgradeFiles, TheRuntimeFolderCountsOnlyWhenItIsPrivate) {
    const fs::path open = root_ / "open";
    const fs::path closed = root_ / "closed";
    fs::create_directories(open);
    fs::create_directories(closed);
    fs::permissions(open, fs::perms::all);
    fs::permissions(closed, fs::perms::owner_all);
    fs::create_directory_symlink(closed, root_ / "linked");
    const struct {
        std::optional<std::string> value;
        std::optional<std::string> expected;
    } cases[] = {
        {closed.string(), closed.string() + "/"},
        {closed.string() + "/", closed.string() + "/"},
        {open.string(), std::nullopt},
        {(root_ / "linked").string(), std::nullopt},
        {(root_ / "missing").string(), std::nullopt},
        {"", std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const auto& each : cases) {
        const test_support::ScopedEnvironment runtime("XDG_RUNTIME_DIR", each.value);
        EXPECT_EQ(UserRuntimeFolder(), each.expected) << each.value.value_or("(unset)");
    }
}

TEST_F(UpgradeFiles, PrivateFoldersAreMadeAndRemovedWithTheirFile) {
    const std::string made = MakePrivateFolder(root_.string(), "Quorvex-test-");
    EXPECT_TRUE(made.starts_with((root_ / "Quorvex-test-").string()));
    EXPECT_EQ(fs::status(made).permissions() & fs::perms::all, fs::perms::owner_all);
    WriteNewExecutable(made + "QvReplacer", "x");
    fs::create_directories(root_ / "Other-folder");
    RemovePrivateFolders(root_.string(), "Quorvex-test-", "QvReplacer");
    EXPECT_FALSE(fs::exists(made));
    EXPECT_TRUE(fs::exists(root_ / "Other-folder"));
    EXPECT_THROW(MakePrivateFolder((root_ / "missing").string(), "x"), Exception);
}

TEST_F(UpgradeFiles, TemporaryFilesAreFoundByTheirEndingHiddenOrNot) {
    for (const char* name : {"a.uTMP", ".hidden.uTMP", "b.utmp", "c.uTMP.old", ".uTMP"})
        std::ofstream(root_ / name) << "x";
    fs::create_directories(root_ / "folder.uTMP");
    auto names = FilesEndingWith(root_.string(), ".uTMP");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden.uTMP", "a.uTMP"}));
    EXPECT_TRUE(FilesEndingWith((root_ / "missing").string(), ".uTMP").empty());
    EXPECT_TRUE(CanCreateFilesIn(root_.string()));
    EXPECT_FALSE(CanCreateFilesIn("/proc/self"));
}

} // namespace
} // namespace quorvex::platform
