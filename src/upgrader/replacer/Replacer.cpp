#include "upgrader/replacer/Replacer.h"

#include "platform/Exception.h"
#include "platform/File.h"
#include "platform/FileAttributes.h"
#include "platform/FileReplace.h"
#include "platform/NativeExecutable.h"
#include "platform/Process.h"
#include "upgrader/replacer/ProgramWait.h"
#include "upgrader/replacer/SwapJournal.h"

#include <thread>

namespace quorvex::replacer {
namespace {

inline constexpr std::string_view kDownloadSuffix = ".uTMP";
inline constexpr std::string_view kExecutableEnding = "exe";
inline constexpr unsigned kOwnerReadWriteExecute = 0700;
inline constexpr unsigned kNewFileBits = 0600;
inline constexpr std::chrono::milliseconds kWatchStep{20};

} // namespace

TReplacer::TReplacer(const TReplacerCommand& command, std::ostream& report)
    : report_(report)
    , ExePath(command.ExePath)
    , RestartArgs(command.RestartArgs)
    , Setup(command.Setup)
    , Folder(FolderOf(command.ExePath)) {}

void TReplacer::Run() {
    WaitForProgram();
    ExeReplaced = platform::FileExists(ExePath + std::string(kDownloadSuffix));
    if (NewProgramRuns())
        SwapDownloads();
    const std::optional<platform::ProcessId> started = Start(ExePath);
    if (Setup)
        RunSetup(started);
    else
        WatchRestart(started);
}

void TReplacer::WaitForProgram() {
    ExeName = NameOf(ExePath);
    if (platform::FileExists(ExePath) && !WaitForProgramEnd(ExePath))
        report_ << "QvReplacer: " << ExePath
                << " is still run by another process; it is replaced all the same\n";
}

bool TReplacer::NewProgramRuns() {
    const std::string download = ExePath + std::string(kDownloadSuffix);
    if (Setup || !ExeReplaced || platform::IsRunnableHere(download))
        return true;
    // An error page served as the program, or a cut-off file: the working program and the
    // files that go with it stay as they are.
    report_ << "QvReplacer: " << download
            << " is no program this machine runs; nothing was replaced\n";
    return false;
}

void TReplacer::SwapDownloads() {
    // The program that ran until now was good: what an earlier swap kept is not needed.
    ForgetReplacedFiles(Folder);
    std::vector<TSwapMove> moves;
    for (const std::string& name : platform::FileNamesIn(Folder)) {
        if (name.size() > kDownloadSuffix.size() && name.ends_with(kDownloadSuffix))
            moves.push_back(PrepareDownload(name));
    }
    const std::string programPath = Folder + ExeName;
    if (!WriteSwapJournal(programPath, moves)) {
        const std::string reason = platform::SystemErrorText();
        report_ << "QvReplacer: cannot write " << SwapJournalPath(programPath) << ": " << reason
                << "; the files are moved all the same\n";
    }
    for (const TSwapMove& move : moves)
        SwapIn(Folder, move, report_);
    platform::DeleteFile(SwapJournalPath(programPath));
}

TSwapMove TReplacer::PrepareDownload(const std::string& download) {
    std::string Target = download.substr(0, download.size() - kDownloadSuffix.size());
    const std::string programPath = Folder + ExeName;
    // Without a setup, only a program this machine runs may take the program's place: a file
    // that merely ends in "exe" (a helper for another system, say) keeps its own name.
    if (!ExeReplaced && Target.ends_with(kExecutableEnding) &&
        (Setup || platform::IsRunnableHere(Folder + download))) {
        if (Setup) {
            OldExePath = ExePath;
            ExePath = Folder + Target;
        } else {
            Target = ExeName;
        }
        ExeReplaced = true;
    }
    const TSwapMove move{download, Target};
    Target = Folder + Target;
    const std::string source = Folder + download;
    const bool setupProgram = Setup && OldExePath.has_value() && Target == ExePath;
    // The new file takes the permission bits of the one it replaces, so that a replaced
    // executable stays executable; the program and the setup program must run in any case.
    unsigned bits = platform::PermissionBits(Target).value_or(
        platform::PermissionBits(source).value_or(kNewFileBits));
    if (Target == programPath || setupProgram)
        bits |= kOwnerReadWriteExecute;
    // Bits or attributes that cannot be set do not hold the move up: the run never stops.
    platform::SetPermissionBits(source, bits);
    platform::SetFileAttributes(source, setupProgram ? platform::kAttributeArchive |
                                                           platform::kAttributeHidden
                                                     : platform::kAttributeArchive);
    return move;
}

void TReplacer::WatchRestart(std::optional<platform::ProcessId> started) {
    if (!HasReplacedFiles(Folder))
        return;
    const auto deadline = std::chrono::steady_clock::now() + ComeUpLimit();
    std::optional<int> status;
    while (started && !(status = platform::ChildStatusIfEnded(*started)) &&
           HasReplacedFiles(Folder) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(kWatchStep);
    // The program deletes the kept files itself once it has come up.
    if (!HasReplacedFiles(Folder))
        return;
    if (started && !status) {
        ForgetReplacedFiles(Folder);
        return;
    }
    report_ << "QvReplacer: the new " << ExePath
            << (status ? " ended at once (status " + std::to_string(*status) + ")"
                       : std::string(" could not be started"))
            << "; the replaced files are put back and the old program is started\n";
    PutBackReplacedFiles(Folder, report_);
    Start(ExePath);
}

// The program must be started whatever failed before; a failure to start it is all that is
// left to tell.
std::optional<platform::ProcessId> TReplacer::Start(const std::string& program) {
    std::vector<std::string> arguments{program};
    for (std::string& word : ArgumentWords(RestartArgs))
        arguments.push_back(std::move(word));
    try {
        return platform::StartProgram(program, arguments);
    } catch (const Exception& failure) {
        report_ << "QvReplacer: " << failure.what() << "\n";
        return std::nullopt;
    }
}

void TReplacer::RunSetup(std::optional<platform::ProcessId> setup) {
    if (!OldExePath) {
        report_ << "QvReplacer: no setup program was downloaded (no other name than the "
                   "program's own ends in \"exe\"), so "
                << ExePath << " was started and is left in place\n";
        return;
    }
    if (setup) {
        // A script being run is never busy: the setup is our child, so its end is certain.
        platform::WaitForChild(*setup);
        WaitUntilFree(ExePath);
    }
    if (!platform::DeleteFile(ExePath)) {
        const std::string reason = platform::SystemErrorText();
        report_ << "QvReplacer: cannot delete the setup program " << ExePath << ": " << reason
                << "\n";
    }
    ExePath = *OldExePath;
    Start(ExePath);
}

} // namespace quorvex::replacer
