#include "platform/FileAttributes.h"
#include "support/ScopedEnvironment.h"
#include "support/Waiting.h"
#include "upgrader/replacer/ReplacerRun.h"
#include "upgrader/replacer/SwapJournal.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace quorvex;
using namespace quorvex::test_support;
using Files = std::map<std::string, std::string>;
using testing::HasSubstr;

namespace {

namespace fs = std::filesystem;

inline constexpr Milliseconds kRunLimit{60000};
inline constexpr unsigned kOwnerExecute = 0100;
const std::vector<std::string> kRestarted{"/afterupgrade"};

// The replacer's arguments for an upgrade of "prog" by `method`.
std::vector<std::string> UpgradeArguments(const ReplacerRun& run, char method) {
    return run.ReplacerArguments(run.Path("prog"), "/afterupgrade", method);
}

// Runs the replacer on "prog" to its end, and waits until it has started the program again.
void Upgrade(ReplacerRun& run, char method) {
    EXPECT_EQ(run.RunReplacer(UpgradeArguments(run, method)), 0);
    EXPECT_TRUE(run.WaitForStarts(kRestarted, 1)) << "the program is started again";
}

TEST(Replacer, StartedWithoutArgumentsTellsItsNameAndVersion) {
    ReplacerRun run;
    EXPECT_EQ(run.RunReplacer({QV_REPLACER_PATH}), 0);
    EXPECT_THAT(run.ReplacerErrors(), HasSubstr("QvReplacer " QUORVEX_VERSION));
}

TEST(Replacer, CommandLineWithoutProgramAndPlusIsRefusedAndTouchesNothing) {
    ReplacerRun run;
    run.Write("prog", ReplacerRun::OldProgram(), 0755);
    run.Write("prog.uTMP", ReplacerRun::NewProgram());
    const Files before = run.Files();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{QV_REPLACER_PATH, run.Path("prog")},
          std::vector<std::string>{QV_REPLACER_PATH, "+/afterupgrade0"}}) {
        EXPECT_EQ(run.RunReplacer(arguments), 2) << arguments.back();
        EXPECT_THAT(run.ReplacerErrors(), HasSubstr("\"+\""));
    }
    EXPECT_EQ(run.Files(), before);
    EXPECT_TRUE(run.Starts(kRestarted).empty());
}

TEST(Replacer, WaitsForTheProgramThenReplacesExactlyItsFilesAndRestartsIt) {
    ReplacerRun run("program folder");
    run.Write("prog", ReplacerRun::OldProgram(), 0750);
    run.Write("prog.uTMP", ReplacerRun::NewProgram());
    run.Write("data.txt", "old data", 0640);
    run.Write("data.txt.uTMP", "new data");
    run.Write("locked.txt", "old locked", 0444);
    run.Write("locked.txt.uTMP", "new locked");
    run.Write("fresh.txt.uTMP", "fresh", 0604);
    run.Write("kept.txt", "kept");
    platform::SetFileAttributes(run.Path("data.txt.uTMP"), platform::kAttributeArchive |
                                                               platform::kAttributeHidden |
                                                               platform::kAttributeTemporary);
    auto program = run.StartProgram("prog", UpgradeArguments(run, '0'));
    const pid_t replacer = run.WaitForLaunchedReplacer();
    ASSERT_GT(replacer, 0);
    ASSERT_TRUE(WaitsAtLowestPriority(replacer));
    EXPECT_EQ(run.DownloadCount(), 4u) << "nothing moves while the program runs";
    EXPECT_TRUE(run.Starts(kRestarted).empty());

    program->Kill();
    ASSERT_TRUE(WaitForEnd(replacer));
    ASSERT_TRUE(run.WaitForStarts(kRestarted, 1));
    EXPECT_EQ(run.Files(), (Files{{"prog", "new program 2.0"},
                                  {"data.txt", "new data"},
                                  {"locked.txt", "new locked"},
                                  {"fresh.txt", "fresh"},
                                  {"kept.txt", "kept"}}));
    EXPECT_EQ(run.Permissions("prog"), 0750u) << "the replaced file's bits";
    EXPECT_EQ(run.Permissions("data.txt"), 0640u);
    EXPECT_EQ(run.Permissions("locked.txt"), 0644u) << "replaced, and no longer read-only";
    EXPECT_EQ(run.Permissions("fresh.txt"), 0604u) << "nothing replaced: its own bits";
    EXPECT_EQ(platform::GetFileAttributes(run.Path("data.txt")), platform::kAttributeArchive);
    EXPECT_EQ(run.ReplacerErrors(), "");
}

TEST(Replacer, ScriptProgramIsAwaitedThroughItsProcess) {
    ReplacerRun run;
    // A script's file is never busy: only the end of the process running it tells.
    const std::string script = "#!/bin/sh\n"
                               "printf 'started\\t%s\\t%s\\n' \"$$\" \"$*\" >> \"$QV_RECORD\"\n"
                               "if [ -n \"$QV_LAUNCH\" ]; then\n"
                               "  unset QV_LAUNCH\n"
                               "  '" QV_REPLACER_PATH "' \"$0\" +/afterupgrade0 &\n"
                               "  printf 'replacer\\t%s\\n' \"$!\" >> \"$QV_RECORD\"\n"
                               "fi\n"
                               "while [ ! -e \"$QV_RECORD.end.$$\" ]; do sleep 0.01; done\n";
    run.Write("prog", script, 0755);
    run.Write("prog.uTMP", script + "# version 2.0\n");
    auto program = run.StartProgram("prog", {"launch"});
    const pid_t replacer = run.WaitForLaunchedReplacer();
    ASSERT_GT(replacer, 0);
    ASSERT_TRUE(WaitsAtLowestPriority(replacer));
    EXPECT_EQ(run.DownloadCount(), 1u) << "nothing moves while the script runs";

    const auto endScript = [&run](pid_t script) {
        std::ofstream(run.RecordPath() + ".end." + std::to_string(script)) << "end\n";
    };
    endScript(run.Starts({}).at(0));
    EXPECT_EQ(program->WaitForExit(kRunLimit), 0);
    ASSERT_TRUE(WaitForEnd(replacer));
    EXPECT_TRUE(run.WaitForStarts(kRestarted, 1));
    EXPECT_EQ(run.Files(), (Files{{"prog", script + "# version 2.0\n"}}));
    endScript(run.Starts(kRestarted).at(0));
}

TEST(Replacer, ANewProgramThatDoesNotComeUpMakesWayForTheOldOneAgain) {
    ReplacerRun run;
    run.Write("prog", ReplacerRun::OldProgram(), 0755);
    run.Write("prog.uTMP", "#!/bin/sh\nexit 3\n", 0755);
    run.Write("data.txt", "old data");
    run.Write("data.txt.uTMP", "new data");
    Upgrade(run, '0');
    EXPECT_EQ(run.Files(), (Files{{"prog", "old program"}, {"data.txt", "old data"}}));
    EXPECT_THAT(run.ReplacerErrors(), HasSubstr("status 3"));
}

TEST(Replacer, ASwapAKilledReplacerLeftHalfDoneIsCompletedByTheNextStart) {
    ReplacerRun run;
    // The program was moved, the web view module was not.
    run.Write("prog", ReplacerRun::NewProgram(), 0755);
    run.Write("prog.uOLD", ReplacerRun::OldProgram(), 0755);
    run.Write("quorvex-webview.so", "old module");
    run.Write("quorvex-webview.so.uTMP", "new module");
    run.Write("partial.bin.uTMP", "of a broken download, in no swap");
    ASSERT_TRUE(replacer::WriteSwapJournal(
        run.Path("prog"),
        {{"prog.uTMP", "prog"}, {"quorvex-webview.so.uTMP", "quorvex-webview.so"}}));
    std::ostringstream report;
    EXPECT_TRUE(replacer::CompleteInterruptedSwap(run.Path("prog"), report));
    EXPECT_EQ(run.Files(), (Files{{"prog", "new program 2.0"},
                                  {"prog.uOLD", "old program"},
                                  {"quorvex-webview.so", "new module"},
                                  {"quorvex-webview.so.uOLD", "old module"},
                                  {"partial.bin.uTMP", "of a broken download, in no swap"}}));
    EXPECT_FALSE(replacer::CompleteInterruptedSwap(run.Path("prog"), report)) << "done once";
    replacer::ForgetReplacedFiles(run.Folder());
    EXPECT_EQ(run.Files().size(), 3u) << "a good start deletes the kept files";
    EXPECT_EQ(report.str(), "");
}

struct FolderCase {
    std::string folder;
    bool splitAtBlanks; // as a command line with nothing quoted arrives
};

class ReplacerFolders : public testing::TestWithParam<FolderCase> {};

TEST_P(ReplacerFolders, ProgramIsFoundReplacedAndRestarted) {
    ReplacerRun run(GetParam().folder);
    run.Write("prog", ReplacerRun::OldProgram(), 0755);
    run.Write("prog.uTMP", ReplacerRun::NewProgram());
    const std::vector<std::string> arguments =
        GetParam().splitAtBlanks
            ? UpgradeArguments(run, '0')
            : std::vector<std::string>{QV_REPLACER_PATH, run.Path("prog"), "+/afterupgrade0"};
    EXPECT_EQ(run.RunReplacer(arguments), 0);
    EXPECT_TRUE(run.WaitForStarts(kRestarted, 1));
    EXPECT_EQ(run.Files(), (Files{{"prog", "new program 2.0"}}));
    EXPECT_EQ(run.Permissions("prog"), 0755u);
}

INSTANTIATE_TEST_SUITE_P(Paths, ReplacerFolders,
                         testing::Values(FolderCase{"plain", true},
                                         FolderCase{"single blanks in it", true},
                                         FolderCase{"repeated  blanks", false}));

TEST(Replacer, ExecutableEndingInCapitalEXEKeepsItsOwnName) {
    ReplacerRun run;
    run.Write("prog", ReplacerRun::OldProgram(), 0755);
    run.Write("TOOL.EXE.uTMP", "tool");
    Upgrade(run, '0');
    EXPECT_EQ(run.Files(), (Files{{"prog", "old program"}, {"TOOL.EXE", "tool"}}));
}

TEST(Replacer, DownloadedExecutableWithAnotherNameTakesTheProgramsPlace) {
    ReplacerRun run;
    run.Write("prog", ReplacerRun::OldProgram(), 0755);
    run.Write("prog-2.0.exe.uTMP", ReplacerRun::NewProgram("2.0"));
    run.Write("helper.exe.uTMP", ReplacerRun::NewProgram("helper"));
    Upgrade(run, '0');
    // The first one listed takes the program's name; the second keeps its own.
    const Files files = run.Files();
    EXPECT_THAT(
        files,
        testing::AnyOf(Files{{"prog", "new program 2.0"}, {"helper.exe", "new program helper"}},
                       Files{{"prog", "new program helper"}, {"prog-2.0.exe", "new program 2.0"}}));
    EXPECT_EQ(run.Permissions("prog"), 0755u);
}

TEST(Replacer, WithoutSetupOnlyAProgramForThisMachineTakesTheProgramsPlace) {
    ReplacerRun run;
    run.Write("prog", ReplacerRun::OldProgram(), 0755);
    run.Write("wine-helper.exe.uTMP", "MZ\x90 a program for another system");
    Upgrade(run, '0');
    EXPECT_EQ(run.Files(), (Files{{"prog", "old program"},
                                  {"wine-helper.exe", "MZ\x90 a program for another system"}}));
}

TEST(Replacer, ABrokenNewProgramReplacesNothing) {
    const std::string newProgram = ReplacerRun::NewProgram();
    for (const std::string& broken : {std::string("<html>502 Bad Gateway</html>"),
                                      newProgram.substr(0, newProgram.size() / 2)}) {
        ReplacerRun run;
        run.Write("prog", ReplacerRun::OldProgram(), 0755);
        run.Write("prog.uTMP", broken);
        run.Write("module.uTMP", "new module");
        Upgrade(run, '0');
        EXPECT_EQ(run.Read("prog"), ReplacerRun::OldProgram());
        EXPECT_EQ(run.DownloadCount(), 2u);
        EXPECT_THAT(run.ReplacerErrors(), HasSubstr("nothing was replaced"));
    }
}

TEST(Replacer, ALinkAmongTheDownloadsIsNeverMoved) {
    ReplacerRun run;
    run.Write("prog", ReplacerRun::OldProgram(), 0755);
    const std::string elsewhere = run.RecordPath() + ".elsewhere";
    std::ofstream(elsewhere) << ReplacerRun::NewProgram();
    fs::create_symlink(elsewhere, run.Path("prog.uTMP"));
    Upgrade(run, '0');
    EXPECT_EQ(run.Read("prog"), ReplacerRun::OldProgram());
    EXPECT_TRUE(fs::is_symlink(run.Path("prog.uTMP")));
    fs::remove(elsewhere);
}

TEST(Replacer, AnotherProcessRunningTheProgramHoldsTheUpgradeUpOnlyForAWhile) {
    ReplacerRun run;
    run.Write("prog", ReplacerRun::OldProgram(), 0755);
    run.Write("prog.uTMP", ReplacerRun::NewProgram());
    // Another user runs the program file and stops that process; it is not the replacer's
    // parent, so only the busy file tells of it.
    auto other = run.StartProgram("prog");
    ASSERT_TRUE(run.WaitForStarts({}, 1));
    ASSERT_EQ(kill(other->Pid(), SIGSTOP), 0);
    const ScopedEnvironment limit("QUORVEX_REPLACER_BUSY_LIMIT_MS", "300");
    Upgrade(run, '0');
    EXPECT_EQ(run.Files(), (Files{{"prog", "new program 2.0"}}));
    EXPECT_THAT(run.ReplacerErrors(), HasSubstr("still run by another process"));
    kill(other->Pid(), SIGCONT); // so that it can take the end it is given
    other->Kill();
}

TEST(Replacer, MissingProgramIsNotAwaitedAndTheDownloadedExecutableBecomesIt) {
    ReplacerRun run;
    run.Write("prog-2.0.exe.uTMP", ReplacerRun::NewProgram(), 0644);
    Upgrade(run, '0');
    EXPECT_EQ(run.Files(), (Files{{"prog", "new program 2.0"}}));
    EXPECT_EQ(run.Permissions("prog"), 0744u) << "its own bits, runnable by its owner";
}

TEST(Replacer, SetupProgramRunsToItsEndIsDeletedAndThenTheProgramStarts) {
    ReplacerRun run;
    run.Write("prog", ReplacerRun::OldProgram(), 0755);
    run.Write("notes.txt.uTMP", "notes");
    run.Write("setup.exe.uTMP", "#!/bin/sh\n"
                                "printf 'setup\\t%s\\n' \"$*\" >> \"$QV_RECORD\"\n"
                                "while [ ! -e \"$QV_RECORD.go\" ]; do sleep 0.01; done\n");
    const auto replacer = run.StartReplacer(UpgradeArguments(run, '1'));
    const std::vector<std::string> setupRecord{"setup", "/afterupgrade"};
    ASSERT_TRUE(PollUntil(
        [&] {
            const auto records = run.Records();
            return std::find(records.begin(), records.end(), setupRecord) != records.end();
        },
        kRunLimit));
    EXPECT_EQ(platform::GetFileAttributes(run.Path("setup.exe")),
              platform::kAttributeArchive | platform::kAttributeHidden);
    EXPECT_TRUE(run.Starts(kRestarted).empty()) << "the program starts after the setup";

    std::ofstream(run.RecordPath() + ".go") << "go\n";
    EXPECT_EQ(replacer->WaitForExit(kRunLimit), 0);
    EXPECT_TRUE(run.WaitForStarts(kRestarted, 1));
    EXPECT_EQ(run.Files(), (Files{{"prog", "old program"}, {"notes.txt", "notes"}}));
    EXPECT_EQ(run.ReplacerErrors(), "");
}

TEST(Replacer, SetupMethodWithoutSetupProgramKeepsTheProgramAndSaysSo) {
    ReplacerRun run;
    run.Write("prog", ReplacerRun::OldProgram(), 0755);
    run.Write("data.txt.uTMP", "data");
    Upgrade(run, '1');
    EXPECT_EQ(run.Starts(kRestarted).size(), 1u);
    EXPECT_EQ(run.Files(), (Files{{"prog", "old program"}, {"data.txt", "data"}}));
    EXPECT_THAT(run.ReplacerErrors(), HasSubstr("no setup program was downloaded"));
}

// Undoes `chattr +i` on the way out, so that the folder can be removed.
class Immutable {
public:
    explicit Immutable(const std::string& path)
        : path_(path)
        , set_(std::system(("chattr +i '" + path + "' 2>/dev/null").c_str()) == 0) {}
    ~Immutable() {
        if (set_)
            std::system(("chattr -i '" + path_ + "'").c_str());
    }
    bool Set() const { return set_; }

private:
    std::string path_;
    bool set_;
};

TEST(Replacer, ProgramThatCannotBeWrittenForOtherReasonsIsNotAwaitedAndStartsUnchanged) {
    ReplacerRun run;
    run.Write("prog", ReplacerRun::OldProgram(), 0755);
    run.Write("prog.uTMP", ReplacerRun::NewProgram());
    const Immutable immutable(run.Path("prog"));
    if (!immutable.Set())
        GTEST_SKIP() << "no immutable files here (needs root and a file system that has them)";
    EXPECT_EQ(run.RunReplacer(UpgradeArguments(run, '0')), 0)
        << "the replacer must not wait for ever";
    EXPECT_TRUE(run.WaitForStarts(kRestarted, 1));
    EXPECT_EQ(run.Files(), (Files{{"prog", "old program"}, {"prog.uTMP", "new program 2.0"}}));
    EXPECT_THAT(run.ReplacerErrors(), HasSubstr("cannot move"));
}

bool HoldsOneOf(const std::string& bytes, const std::string& first, const std::string& second) {
    return bytes == first || bytes == second;
}

TEST(Replacer, KilledAtAnyPointLeavesARunnableProgram) {
    constexpr std::size_t kOtherFiles = 8;
    const std::string oldProgram = ReplacerRun::OldProgram();
    const std::string newProgram = ReplacerRun::NewProgram();
    for (std::size_t moved = 0; moved <= kOtherFiles + 1; ++moved) {
        SCOPED_TRACE("killed once " + std::to_string(moved) + " files have moved");
        ReplacerRun run;
        run.Write("prog", oldProgram, 0755);
        run.Write("prog.uTMP", newProgram);
        for (std::size_t i = 0; i < kOtherFiles; ++i) {
            run.Write("file" + std::to_string(i), "old");
            run.Write("file" + std::to_string(i) + ".uTMP", "new");
        }
        std::atomic<bool> stop{false};
        std::atomic<bool> missing{false};
        std::thread watch([&] {
            while (!stop) {
                std::error_code absent;
                const auto size = fs::file_size(run.Path("prog"), absent);
                if (access(run.Path("prog").c_str(), X_OK) != 0 ||
                    (size != oldProgram.size() && size != newProgram.size()))
                    missing = true;
            }
        });
        const auto replacer = run.StartReplacer(UpgradeArguments(run, '0'));
        PollUntil(
            [&] { return run.DownloadCount() + moved <= kOtherFiles + 1 || !replacer->Running(); },
            kRunLimit);
        replacer->Kill();
        stop = true;
        watch.join();

        EXPECT_FALSE(missing) << "the program was missing or not executable for a moment";
        EXPECT_TRUE(HoldsOneOf(run.Read("prog"), oldProgram, newProgram));
        EXPECT_NE(run.Permissions("prog") & kOwnerExecute, 0u);
        for (std::size_t i = 0; i < kOtherFiles; ++i)
            EXPECT_TRUE(HoldsOneOf(run.Read("file" + std::to_string(i)), "old", "new")) << i;
        const auto program = run.StartProgram("prog", {});
        EXPECT_TRUE(run.WaitForStarts({}, 1)) << "the program left behind runs";
    }
}

} // namespace
