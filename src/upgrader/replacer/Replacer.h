#pragma once

#include "platform/Process.h"
#include "upgrader/replacer/ReplacerCommand.h"
#include "upgrader/replacer/SwapJournal.h"

#include <optional>
#include <ostream>
#include <string>

namespace quorvex::replacer {

// Once the program has ended, moves every downloaded "*.uTMP" file of its folder over the file
// it replaces (keeping the replaced one until the new program has come up) and starts the
// program again; for the external-setup method it runs the setup
// program first and waits for it. Failures are told to `report` and never stop the run: the
// program is started in any case.
class TReplacer {
public:
    TReplacer(const TReplacerCommand& command, std::ostream& report);

    void Run();

private:
    void WaitForProgram();
    // Whether the download that replaces the program is one this machine runs.
    bool NewProgramRuns();
    void SwapDownloads();
    // Readies a download to be moved (its bits and attributes) and names its target.
    TSwapMove PrepareDownload(const std::string& download);
    // Keeps the replaced files until the restarted program has come up, and puts them back and
    // starts the old program when it does not.
    void WatchRestart(std::optional<platform::ProcessId> started);
    std::optional<platform::ProcessId> Start(const std::string& program);
    void RunSetup(std::optional<platform::ProcessId> setup);

    std::ostream& report_;
    std::string ExePath;
    std::string RestartArgs;
    bool Setup;
    std::string Folder;
    std::string ExeName;
    bool ExeReplaced = false;
    std::optional<std::string> OldExePath; // the program's path while ExePath is the setup's
};

} // namespace quorvex::replacer
