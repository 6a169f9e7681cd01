#pragma once

#include "platform/Process.h"
#include "upgrader/replacer/ReplacerCommand.h"

#include <optional>
#include <ostream>
#include <string>

namespace quorvex::replacer {

// Once the program has ended, moves every downloaded "*.uTMP" file of its folder over the file
// it replaces and starts the program again; for the external-setup method it runs the setup
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
    void MoveDownloads();
    void MoveDownload(const std::string& download);
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
