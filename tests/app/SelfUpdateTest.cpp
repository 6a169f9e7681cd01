// The self-update as a user meets it: a copy of the program in a folder of its own, the
// stand-in serving a newer version, the program replacing itself and coming back upgraded.
#include "support/ChildProcess.h"
#include "support/Files.h"
#include "support/QuorvexEnvironment.h"
#include "support/Waiting.h"
#include "support/XvfbDisplay.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvex {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test_support::ChildProcess;
using test_support::PollUntil;
using test_support::QuorvexEnvironment;
using test_support::ReadWholeFile;
using test_support::RunCommand;
using test_support::WriteWholeFile;
using test_support::XvfbDisplay;

inline constexpr auto kLimit = 120s;
inline constexpr const char* kNewBuildMark = "\nQUORVEX NEW BUILD 1.3.3.10\n";

std::vector<std::string> CommandLineOf(const fs::path& process) {
    std::vector<std::string> arguments;
    std::istringstream line(ReadWholeFile(process / "cmdline"));
    for (std::string argument; std::getline(line, argument, '\0');)
        arguments.push_back(argument);
    return arguments;
}

// A running process whose command line is exactly this; 0 when there is none.
pid_t FindProcess(const std::vector<std::string>& commandLine) {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (CommandLineOf(entry.path()) == commandLine &&
            ReadWholeFile(entry.path() / "stat").find(") Z") == std::string::npos)
            return static_cast<pid_t>(std::stoi(name));
    }
    return 0;
}

class SelfUpdateTest : public testing::Test {
protected:
    SelfUpdateTest()
        : root_(fs::temp_directory_path() / ("quorvex self-update " + std::to_string(getpid())))
        , folder_(root_ / "program folder")
        , updates_(root_ / "updates")
        , runtime_(root_ / "runtime") {
        // The restarted program's parent, the replacer, ends early: the test takes it over.
        prctl(PR_SET_CHILD_SUBREAPER, 1);
        fs::remove_all(root_);
        for (const auto& path : {folder_, updates_, runtime_})
            fs::create_directories(path);
        fs::permissions(runtime_, fs::perms::owner_all);
        StartStandin();
    }
    ~SelfUpdateTest() override {
        if (restarted_ != 0) {
            kill(restarted_, SIGTERM);
            waitpid(restarted_, nullptr, 0);
        }
        program_.reset();
        standin_.reset();
        fs::remove_all(root_);
    }

    void StartStandin() {
        const fs::path output = root_ / "standin output";
        standin_ = std::make_unique<ChildProcess>(std::vector<std::string>{
            "/bin/sh", "-c", "exec \"$0\" --port 0 --updates \"$1\" > \"$2\"",
            QUORVEX_BINARY_DIR "/quorvex-standin", updates_.string(), output.string()});
        ASSERT_TRUE(PollUntil([&] { return ReadWholeFile(output).find('\n') != std::string::npos; },
                              kLimit));
        const std::string line = ReadWholeFile(output);
        host_ = line.substr(line.find("127.0.0.1"), line.find('\n') - line.find("127.0.0.1"));
    }

    // Installs a copy of build as the program, and publishes the same build marked as a new
    // one under 1.3.3.10.
    void InstallAndPublish(const std::string& build, bool sign) {
        const std::string bytes = ReadWholeFile(build);
        WriteWholeFile(Program(), bytes);
        // The web panel's engine is loaded from beside the program, as in an installation.
        fs::copy_file(QUORVEX_BINARY_DIR "/quorvex-webview.so", folder_ / "quorvex-webview.so");
        fs::permissions(Program(), fs::perms::owner_all | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec);
        WriteWholeFile(updates_ / "quorvex", bytes + kNewBuildMark);
        Announce("1.3.3.10");
        if (!sign)
            return;
        const std::string output = RunCommand(
            "'" QUORVEX_BINARY_DIR "/quorvex-release' sign '" + (updates_ / "update.inf").string() +
            "' --key '" TEST_UPDATE_KEY "' --files '" + updates_.string() + "' && echo done");
        ASSERT_TRUE(output.ends_with("for 1 file(s)\ndone\n")) << output;
    }

    void Announce(const std::string& version) {
        WriteWholeFile(updates_ / "update.inf",
                       "#version=" + version + "\r\n#url=http://" + host_ + "/Quorvex/quorvex\r\n");
    }

    void StartProgram() {
        // Kept while the test runs: the program, and the one the replacer starts, write their
        // settings into it.
        environment_.emplace(display_.Name(), host_);
        environment_->Set("XDG_RUNTIME_DIR", runtime_.string());
        started_ = std::chrono::steady_clock::now();
        program_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"/bin/sh", "-c", "exec \"$0\" 2> \"$1\"", Program().string(),
                                     (root_ / "errors").string()},
            environment_->Variables());
    }

    fs::path Program() const { return folder_ / "quorvex"; }
    std::vector<std::string> TempFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            if (entry.path().extension() == ".uTMP")
                names.push_back(entry.path().filename().string());
        return names;
    }

    // The old program ends and the replacer brings the new one back with /afterupgrade.
    void ExpectReplacedAndRestarted() {
        ASSERT_TRUE(program_->WaitForExit(kLimit)) << ReadWholeFile(root_ / "errors");
        // The restarted program would find the same release newer again, being this build.
        Announce("1.3.3.9");
        ASSERT_TRUE(PollUntil(
            [&] {
                return (restarted_ = FindProcess({Program().string(), "/afterupgrade"})) != 0;
            },
            kLimit))
            << "not restarted; the program said: " << ReadWholeFile(root_ / "errors");
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
            std::chrono::steady_clock::now() - started_);
        std::cout << "replaced and restarted " << seconds.count() << " s after the start\n";
        EXPECT_TRUE(ReadWholeFile(Program()).ends_with(kNewBuildMark));
        EXPECT_NE(fs::status(Program()).permissions() & fs::perms::owner_exec, fs::perms::none);
        EXPECT_TRUE(TempFiles().empty());
        // The restarted program deletes the replacer the old one left.
        EXPECT_TRUE(PollUntil([&] { return !fs::exists(runtime_ / "QvReplacer"); }, kLimit));
    }

    XvfbDisplay display_;
    fs::path root_, folder_, updates_, runtime_;
    std::string host_;
    std::optional<QuorvexEnvironment> environment_;
    std::unique_ptr<ChildProcess> standin_;
    std::unique_ptr<ChildProcess> program_;
    pid_t restarted_ = 0;
    std::chrono::steady_clock::time_point started_;
};

TEST_F(SelfUpdateTest, ANewerVersionReplacesTheProgramWhichComesBackUpgraded) {
    InstallAndPublish(QUORVEX_BINARY_DIR "/quorvex", false);
    StartProgram();
    ExpectReplacedAndRestarted();
}

TEST_F(SelfUpdateTest, ASignedReleaseIsTakenByAProgramWithAKeyBuiltIn) {
    InstallAndPublish(QUORVEX_TEST_KEY_BINARY, true);
    StartProgram();
    ExpectReplacedAndRestarted();
}

TEST_F(SelfUpdateTest, ATamperedFileIsRefusedAndTheOldProgramRunsOn) {
    InstallAndPublish(QUORVEX_TEST_KEY_BINARY, true);
    const std::string old = ReadWholeFile(Program());
    WriteWholeFile(updates_ / "quorvex", ReadWholeFile(updates_ / "quorvex") + "planted");
    StartProgram();
    ASSERT_TRUE(PollUntil(
        [&] { return ReadWholeFile(root_ / "errors").find("does not match") != std::string::npos; },
        kLimit));
    // The refusal is also told in a message box of the upgrader.
    EXPECT_TRUE(PollUntil(
        [&] {
            return !RunCommand("DISPLAY=" + display_.Name() +
                               " xdotool search --onlyvisible --name 'update wizard|升级精灵'")
                        .empty();
        },
        kLimit));
    fs::create_directories(QUORVEX_ARTIFACT_DIR);
    RunCommand("DISPLAY=" + display_.Name() +
               " import -window root '" QUORVEX_ARTIFACT_DIR "/self-update-refused.png'");
    EXPECT_TRUE(program_->Running());
    EXPECT_EQ(ReadWholeFile(Program()), old);
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_EQ(FindProcess({Program().string(), "/afterupgrade"}), 0);
}

} // namespace
} // namespace quorvex
