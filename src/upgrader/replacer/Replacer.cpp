#include "upgrader/replacer/Replacer.h"

#include "platform/Exception.h"
#include "platform/File.h"
#include "platform/FileAttributes.h"
#include "platform/FileReplace.h"
#include "platform/Process.h"
#include "upgrader/replacer/ProgramWait.h"

#include <cerrno>
#include <cstring>

namespace quorvex::replacer {
namespace {

inline constexpr std::string_view kDownloadSuffix = ".uTMP";
inline constexpr std::string_view kExecutableEnding = "exe";
inline constexpr unsigned kOwnerReadWriteExecute = 0700;
inline constexpr unsigned kNewFileBits = 0600;

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
    MoveDownloads();
    const std::optional<pid_t> started = Start(ExePath);
    if (Setup)
        RunSetup(started);
}

void TReplacer::WaitForProgram() {
    ExeName = NameOf(ExePath);
    if (platform::FileExists(ExePath))
        WaitForProgramEnd(ExePath);
}

void TReplacer::MoveDownloads() {
    for (const std::string& name : platform::FileNamesIn(Folder)) {
        if (name.size() > kDownloadSuffix.size() && name.ends_with(kDownloadSuffix))
            MoveDownload(name);
    }
}

void TReplacer::MoveDownload(const std::string& download) {
    std::string Target = download.substr(0, download.size() - kDownloadSuffix.size());
    const std::string programPath = Folder + ExeName;
    if (!ExeReplaced && Target.ends_with(kExecutableEnding)) {
        if (Setup) {
            OldExePath = ExePath;
            ExePath = Folder + Target;
        } else {
            Target = ExeName;
        }
        ExeReplaced = true;
    }
    Target = Folder + Target;
    const std::string source = Folder + download;
    const bool setupProgram = Setup && Target == ExePath && OldExePath;
    // The new file takes the permission bits of the one it replaces, so that a replaced
    // executable stays executable; the program and the setup program must run in any case.
    unsigned bits = platform::PermissionBits(Target).value_or(
        platform::PermissionBits(source).value_or(kNewFileBits));
    if (Target == programPath || setupProgram)
        bits |= kOwnerReadWriteExecute;
    platform::SetPermissionBits(source, bits);
    platform::SetFileAttributes(source, setupProgram ? platform::kAttributeArchive |
                                                           platform::kAttributeHidden
                                                     : platform::kAttributeArchive);
    // One rename, never a delete first: if the replacer dies here the target is whole.
    if (!platform::MoveFileOver(source, Target))
        report_ << "QvReplacer: cannot move " << source << " over " << Target << ": "
                << std::strerror(errno) << "\n";
}

// The program must be started whatever failed before; a failure to start it is all that is
// left to tell.
std::optional<pid_t> TReplacer::Start(const std::string& program) {
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

void TReplacer::RunSetup(std::optional<pid_t> setup) {
    if (!OldExePath) {
        report_ << "QvReplacer: no downloaded file name ends in \"exe\", so there is no setup "
                   "program to run; "
                << ExePath << " was started and is left in place\n";
        return;
    }
    if (setup) {
        // A script being run is never busy: the setup is our child, so its end is certain.
        platform::WaitForChild(*setup);
        WaitUntilFree(ExePath);
    }
    platform::DeleteFile(ExePath);
    ExePath = *OldExePath;
    Start(ExePath);
}

} // namespace quorvex::replacer
