#include "download/upStreams.h"
#include "download/upUtils.h"
#include "platform/FileAttributes.h"
#include "support/Pumping.h"
#include "support/ScopedEnvironment.h"
#include "support/Waiting.h"

#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sched.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace quorvex;
using quorvex::test_support::Milliseconds;
using quorvex::test_support::PumpUntil;

namespace {

namespace fs = std::filesystem;

using test_support::ScopedEnvironment;

class UtilityFiles : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("quorvex-utils-" + std::to_string(getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        for (const auto& entry : fs::recursive_directory_iterator(folder_))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
        fs::remove_all(folder_);
    }
    std::string Make(const std::string& name, const std::string& bytes) const {
        const auto path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    fs::path folder_;
};

TDateTime Moment(int y, int mo, int d, int h, int mi, int s) {
    TDateTime value = 0;
    TryEncodeDateTime(y, mo, d, h, mi, s, value);
    return value;
}

time_t ModifiedAt(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mtime;
}

} // namespace

TEST_F(UtilityFiles, AttributesAreStoredAndReadOnlyTakesTheWriteBits) {
    const std::string path = Make("a.bin", "x");
    ASSERT_TRUE(
        ApplyFileAttributes(path, {TupFileAttribute::atrArchive, TupFileAttribute::atrTemporary}));
    EXPECT_EQ(platform::GetFileAttributes(path),
              platform::kAttributeArchive | platform::kAttributeTemporary);
    ASSERT_TRUE(
        ApplyFileAttributes(path, {TupFileAttribute::atrReadOnly, TupFileAttribute::atrHidden}));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::owner_write, fs::perms::none);
    ASSERT_TRUE(ApplyFileAttributes(path, {}));
    EXPECT_NE(fs::status(path).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(platform::GetFileAttributes(path), 0u);
    EXPECT_FALSE(ApplyFileAttributes((folder_ / "missing").string(), {}));
}

TEST_F(UtilityFiles, ReadOnlyOutputFileCanStillBeReplacedAndKeepsItsAttributes) {
    const std::string path = Make("locked.bin", "old contents");
    ApplyFileAttributes(path, {TupFileAttribute::atrReadOnly});
    {
        TupFileStream stream(path, true);
        stream.Write("new", 3);
    }
    EXPECT_EQ(GetFileSize64(path), 3);
    EXPECT_EQ(platform::GetFileAttributes(path), platform::kAttributeReadOnly);
    EXPECT_THROW(TupFileStream((folder_ / "no" / "such" / "dir.bin").string(), true),
                 EFCreateError);
}

TEST_F(UtilityFiles, SetFileTimesRoundsToTwoSecondsAndKeepsWhatIsMinusOne) {
    const std::string path = Make("t.bin", "x");
    ASSERT_TRUE(SetFileTimes(path, -1, Moment(2001, 2, 3, 4, 5, 7), -1));
    EXPECT_EQ(ModifiedAt(path), 981173106); // 2001-02-03 04:05:06 UTC: 7 s kept as 6
    const time_t before = ModifiedAt(path);
    ASSERT_TRUE(SetFileTimes(path, -1, -1, -1));
    EXPECT_EQ(ModifiedAt(path), before);
    ASSERT_TRUE(SetFileTimes(path, -1, Moment(1970, 1, 2, 0, 0, 0), -1)); // before DOS dates
    EXPECT_EQ(ModifiedAt(path), before);
    EXPECT_FALSE(SetFileTimes((folder_ / "missing").string(), -1, -1, -1));
}

TEST_F(UtilityFiles, SizesFoldersAndTheTemporaryFolder) {
    EXPECT_EQ(GetFileSize64(Make("s.bin", std::string(1234, 'x'))), 1234);
    EXPECT_EQ(GetFileSize64((folder_ / "missing").string()), -1);
    EXPECT_EQ(GetFileSize64(folder_.string()), -1);
    EXPECT_TRUE(FolderExists(folder_.string()));
    EXPECT_FALSE(FolderExists(Make("f.bin", "")));
    {
        ScopedEnvironment tmp("TMPDIR", folder_.string());
        EXPECT_EQ(TempFolder(), folder_.string() + "/");
    }
    ScopedEnvironment gone("TMPDIR", (folder_ / "gone").string());
    const std::string fallback = TempFolder();
    EXPECT_EQ(fallback.back(), '/');
    EXPECT_TRUE(FolderExists(fallback));
}

TEST_F(UtilityFiles, ShellOpenCommandFollowsTheDefaultApplication) {
    fs::create_directories(folder_ / "config");
    fs::create_directories(folder_ / "data" / "applications");
    Make("config/mimeapps.list",
         "[Default Applications]\ntext/html=viewer.desktop;other.desktop;\n");
    Make("data/applications/viewer.desktop",
         "[Desktop Entry]\nName=Viewer\nExec=\"/opt/my viewer/bin/viewer\" --new-window %u\n");
    ScopedEnvironment config("XDG_CONFIG_HOME", (folder_ / "config").string());
    ScopedEnvironment configDirs("XDG_CONFIG_DIRS", (folder_ / "none").string());
    ScopedEnvironment data("XDG_DATA_HOME", (folder_ / "data").string());
    EXPECT_EQ(ShellOpenCommand(".html"), "/opt/my viewer/bin/viewer");
    EXPECT_EQ(ShellOpenCommand(".qvxunknown"), "");
    EXPECT_EQ(ShellOpenCommand("."), "");
    EXPECT_EQ(ShellOpenCommand(""), "");
}

TEST_F(UtilityFiles, OpenURLStartsTheHtmlHandlerWithTheURL) {
    const std::string marker = (folder_ / "opened.txt").string();
    const std::string script = Make("handler.sh", "#!/bin/sh\necho \"$1\" > " + marker + "\n");
    fs::permissions(script, fs::perms::owner_exec, fs::perm_options::add);
    fs::create_directories(folder_ / "config");
    fs::create_directories(folder_ / "data" / "applications");
    Make("config/mimeapps.list", "[Default Applications]\ntext/html=handler.desktop\n");
    Make("data/applications/handler.desktop", "[Desktop Entry]\nExec=" + script + " %u\n");
    ScopedEnvironment config("XDG_CONFIG_HOME", (folder_ / "config").string());
    ScopedEnvironment data("XDG_DATA_HOME", (folder_ / "data").string());
    OpenURL("example.org/page", true);
    ASSERT_TRUE(test_support::PollUntil([&] { return GetFileSize64(marker) > 0; }));
    std::ifstream opened(marker);
    std::string line;
    std::getline(opened, line);
    EXPECT_EQ(line, "http://example.org/page");
}

TEST(SystemUtils, ResourcesCompiledIntoTheProgramAreWrittenToStreams) {
    TMemoryStream stream;
    ASSERT_TRUE(SaveResourceToStream("SAMPLE", "QVRPL", &stream));
    EXPECT_EQ(stream.Text(), "replacer image bytes\n");
    EXPECT_FALSE(SaveResourceToStream("EMPTY", "QVRPL", &stream));
    EXPECT_FALSE(SaveResourceToStream("MISSING", "QVRPL", &stream));
    EXPECT_FALSE(SaveResourceToStream("SAMPLE", "QVRPL", nullptr));
}

// Answers IsOnline() inside a network namespace of its own, after running the shell `setup`
// there; nothing when namespaces or the ip tool cannot be had (not root, say).
std::optional<bool> IsOnlineInOwnNetwork(const std::string& setup) {
    std::optional<bool> online;
    // A new network namespace belongs to the thread that makes it, and to what that thread starts.
    std::thread([&] {
        if (unshare(CLONE_NEWNET) == 0 && std::system(setup.c_str()) == 0)
            online = IsOnline();
    }).join();
    return online;
}

TEST(SystemUtils, OnlineNeedsAnIpAddressOnAnInterfaceThatIsUpAndNotLoopback) {
    const std::string loopbackAndLink = "ip link set lo up && "
                                        "ip link add qv0 type veth peer name qv1 && "
                                        "ip link set qv0 up";
    const std::optional<bool> withoutAddress = IsOnlineInOwnNetwork(loopbackAndLink);
    if (!withoutAddress)
        GTEST_SKIP() << "no network namespace of our own here (needs root and the ip tool)";
    EXPECT_FALSE(*withoutAddress) << "loopback and a bare link address do not count";
    EXPECT_EQ(IsOnlineInOwnNetwork(loopbackAndLink + " && ip addr add 192.0.2.77/32 dev qv0"),
              true);
    EXPECT_EQ(IsOnlineInOwnNetwork(loopbackAndLink + " && ip addr add 192.0.2.77/32 dev qv1"),
              false)
        << "an address on an interface that is down does not count";
}

TEST(SignalWait, SignalFromAnEventHandlerEndsTheWait) {
    TSignalEvent event = 0;
    bool handled = false;
    QTimer::singleShot(50, [&] {
        handled = true;
        Signal(event);
    });
    const auto start = std::chrono::steady_clock::now();
    WaitForSignal(event, 0, false);
    EXPECT_TRUE(handled);
    EXPECT_EQ(event, kInvalidSignalEvent);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    Signal(event); // after the wait: nothing happens
}

TEST(SignalWait, SignalBeforeAnyWaitDoesNothingAndTimeoutEndsTheWait) {
    TSignalEvent event = 0;
    Signal(event);
    const auto start = std::chrono::steady_clock::now();
    WaitForSignal(event, 100, false);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(90));
    EXPECT_EQ(event, kInvalidSignalEvent);
}

TEST(SignalWaitDeathTest, TerminatingApplicationEndsAWaitThatStopsForIt) {
    EXPECT_EXIT(
        {
            TSignalEvent event = 0;
            QTimer::singleShot(50, [] { CloseApplication(); });
            WaitForSignal(event, 0, true);
            std::exit(event == kInvalidSignalEvent ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(SignalWaitDeathTest, WaitThatGoesOnWhenTheApplicationTerminatesStillEndsAtItsLimit) {
    EXPECT_EXIT(
        {
            alarm(120); // a wait that never ends fails the test instead of hanging it
            TSignalEvent event = 0;
            QTimer::singleShot(50, [] { CloseApplication(); });
            WaitForSignal(event, 500, false);
            std::exit(event == kInvalidSignalEvent ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
