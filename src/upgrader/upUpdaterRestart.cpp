// The end of a run: cancelling, stopping, cleaning up, and handing over to the replacer.
#include "download/upStreams.h"
#include "platform/File.h"
#include "platform/Process.h"
#include "platform/UpgradeFiles.h"
#include "upgrader/replacer/ReplacerCommand.h"
#include "upgrader/upUpdater.h"

#include <iostream>

namespace quorvex {
namespace {

inline constexpr const char* kReplacerResource = "QVRPL";
// The folders made for the replacer in the temporary folder when there is no private runtime
// folder.
inline constexpr const char* kReplacerFolderPrefix = "Quorvex-replacer-";

std::string ReplacerImage() {
    TMemoryStream image;
    if (!SaveResourceToStream(kReplacerResource, kReplacerResource, &image))
        throw Exception("The program carries no replacer");
    std::string bytes(static_cast<std::size_t>(image.Size()), '\0');
    image.Seek(0);
    image.Read(bytes.data(), bytes.size());
    return bytes;
}

// A folder only this user can enter, for the replacer.
std::string ReplacerFolder() {
    if (const auto runtime = platform::UserRuntimeFolder())
        return *runtime;
    return platform::MakePrivateFolder(TempFolder(), kReplacerFolderPrefix);
}

} // namespace

void TupUpdater::DeleteLeftoverReplacer() {
    if (const auto runtime = platform::UserRuntimeFolder())
        platform::DeleteFile(*runtime + kReplacerName);
    platform::RemovePrivateFolders(TempFolder(), kReplacerFolderPrefix, kReplacerName);
}

void TupUpdater::CancelUpgrade() {
    abortedFlag_ = true;
    StopTransfer();
    DeleteTempFiles();
    if (OnAborted)
        OnAborted(this);
}

void TupUpdater::StopTransfer() {
    EndDoneWait();
    Cancel(false, false);
    if (Dialogs && Dialogs->WizardShown())
        Ui().DestroyWizard();
}

void TupUpdater::DeleteTempFiles() {
    const std::string folder = ExeFolder();
    for (const auto& name : platform::FilesEndingWith(folder, kTempFileSuffix))
        platform::DeleteFile(folder + name);
}

void TupUpdater::RestartProgram(const std::string& Params) {
    if (!upgradeComplete_)
        DeleteTempFiles();
    RunReplacer(!Params.empty() ? Params : restartParams_ + std::to_string(upgradeMethodCode_));
}

void TupUpdater::RunReplacer(const std::string& Args) {
    try {
        // Checked before anything is written: the program ends only for a replacer that will
        // find it again.
        std::vector<std::string> arguments = replacer::ReplacerArguments(exePath_, Args);
        // Never a file this run did not write: a fresh one, in a folder nobody else can enter.
        const std::string path = ReplacerFolder() + kReplacerName;
        platform::DeleteFile(path);
        platform::WriteNewExecutable(path, ReplacerImage());
        arguments.insert(arguments.begin(), path);
        platform::StartProgram(path, arguments);
    } catch (const Exception& failure) {
        // The downloads stay where they are and the program goes on running.
        TellFailure("The upgrade cannot be finished: " + std::string(failure.what()));
        return;
    }
    if (upgradeComplete_)
        RememberInstalledVersion();
    if (OnCloseProgram)
        OnCloseProgram(this);
    else
        CloseApplication();
}

} // namespace quorvex
