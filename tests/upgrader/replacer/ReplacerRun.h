#pragma once

#include "support/ChildProcess.h"
#include "support/ScopedEnvironment.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quorvex::test_support {

// A program folder for the replacer to work on: the stand-in program, downloads next to it,
// and the record the stand-ins keep of every start (outside the folder).
class ReplacerRun {
public:
    // `folderName` may hold blanks; it is made in a fresh temporary folder.
    explicit ReplacerRun(const std::string& folderName = "program folder");
    ~ReplacerRun();
    ReplacerRun(const ReplacerRun&) = delete;
    ReplacerRun& operator=(const ReplacerRun&) = delete;

    std::string Folder() const { return folder_.string() + "/"; }
    std::string Path(const std::string& name) const { return Folder() + name; }
    // The record file; what the stand-ins and the test's setup programs write to.
    std::string RecordPath() const { return record_.string(); }

    // The stand-in's bytes, and those of a new version of it (still runnable).
    static std::string OldProgram();
    static std::string NewProgram(const std::string& version = "2.0");

    void Write(const std::string& name, const std::string& bytes, unsigned permissions = 0644);
    std::string Read(const std::string& name) const;
    unsigned Permissions(const std::string& name) const;
    // Every file of the folder with its bytes; those of the stand-in programs as labels
    // ("old program", "new program 2.0") to keep failure messages short.
    std::map<std::string, std::string> Files() const;
    std::size_t DownloadCount() const;

    // The replacer's arguments as the upgrade writes them: `exePath` " +" `restart` `method`,
    // split at every blank, the way a command line with nothing quoted arrives.
    std::vector<std::string> ReplacerArguments(const std::string& exePath,
                                               const std::string& restart, char method) const;
    // Starts the program `name` with the replacer to launch (its whole argument vector).
    std::unique_ptr<ChildProcess> StartProgram(const std::string& name,
                                               const std::vector<std::string>& launch = {});
    // Runs the replacer to its end; its exit status. Its standard error is ReplacerErrors().
    int RunReplacer(const std::vector<std::string>& arguments);
    std::unique_ptr<ChildProcess> StartReplacer(const std::vector<std::string>& arguments);
    std::string ReplacerErrors() const;

    // The lines of the record, split at tabs.
    std::vector<std::vector<std::string>> Records() const;
    // The process ids of the stand-ins that started with these arguments, in order.
    std::vector<pid_t> Starts(const std::vector<std::string>& arguments) const;
    bool WaitForStarts(const std::vector<std::string>& arguments, std::size_t count) const;
    // The replacer the program started, once it has.
    pid_t WaitForLaunchedReplacer() const;

    // Ends every stand-in recorded so far that still runs as a child of the test.
    void EndStandins();

private:
    std::filesystem::path root_;
    std::filesystem::path folder_;
    std::filesystem::path record_;
    std::filesystem::path errors_;
    // A restarted program counts as come up after a second, not five.
    ScopedEnvironment comeUpLimit_{"QUORVEX_REPLACER_COME_UP_MS", "1000"};
};

// Processes the test did not start itself become its own when their parent ends: the test
// process is made a child subreaper. False when `process` did not end within the wait limit.
bool WaitForEnd(pid_t process);
// Ends `process`, a child of the test still running, with SIGTERM and waits for it; false
// when it is not such a child.
bool End(pid_t process);
// True once some thread of `process` runs at nice 19, the priority the replacer waits at.
bool WaitsAtLowestPriority(pid_t process);

} // namespace quorvex::test_support
