#pragma once

#include "download/upHTTP.h"
#include "upgrader/upDialogHost.h"
#include "upgrader/upUpdateInfo.h"
#include "upgrader/upUpdaterDialogs.h"
#include "upgrader/upVersionRules.h"
#include "upgrader/upWizardOptions.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvex {

namespace platform {
class TTimerWindow;
} // namespace platform

enum class TupOtherFilesBehavior { ofAlwaysDownload, ofOnlyIfSizeDifferent };

enum class TupShowMessage {
    mAskUpgrade,
    mConnLost,
    mHostUnreachable,
    mLostFile,
    mNoInfoFile,
    mNoUpdateAvailable,
    mPasswordRequest
};
using TupShowMessages = TSet<TupShowMessage>;

using TupBeginUpgradeEvent = std::function<void(
    TComponent* Sender, const std::string& UpgradeMsg, TupUpgradeMethod UpgradeMethod,
    const std::vector<std::string>& Files, bool& CanUpgrade)>;
using TupEndUpgradeEvent = std::function<void(TComponent* Sender, bool& RestartNow)>;
using TupProgressEvent = std::function<void(
    TComponent* Sender, const std::string& FileURL, std::int32_t FileSize, std::int32_t BytesRead,
    std::int32_t ElapsedTime, std::int32_t EstimatedTimeLeft, std::uint8_t PercentsDone,
    std::uint8_t TotalPercentsDone, float TransferRate)>;
using TupFileStartEvent =
    std::function<void(TComponent* Sender, const std::string& FileURL, std::int32_t FileSize,
                       TDateTime FileTime, bool& CanUpgrade)>;
using TupFileDoneEvent = std::function<void(TComponent* Sender, const std::string& FileName)>;
using TupHostUnreachableEvent =
    std::function<void(TComponent* Sender, const std::string& URL, const std::string& Hostname)>;
using TupLostFileEvent = std::function<void(TComponent* Sender, const std::string& FileURL,
                                            int ErrorCode, bool& ContinueUpgrade)>;
using TupBadFileEvent = std::function<void(TComponent* Sender, const std::string& FileURL)>;

inline constexpr int kDefaultAutoCheckDelay = 10000;
inline constexpr const char* kDefaultRestartParams = "/afterupgrade";
inline constexpr const char* kTempFileSuffix = ".uTMP";
inline constexpr const char* kReplacerName = "QvReplacer";
// The largest information file a check reads; a larger one is no information file.
inline constexpr std::uint64_t kMaxInfoFileSize = 1u << 20;
inline constexpr std::uint64_t kDefaultMaxDownloadSize = 512u << 20;
// What a download leaves free on the program's file system at the least.
inline constexpr std::uint64_t kFreeSpaceMargin = 64u << 20;

// Keeps the program up to date: some time after start it fetches the update information file,
// and when a newer version is announced downloads every listed file next to the executable
// under a temporary name, starts the replacer and ends the program, which the replacer starts
// again upgraded. Each download is one transfer of the component it derives from; every step
// runs on the user-interface thread, in the component's events and in its own timer.
class TupUpdater : public TupCustomHTTP, public TupProgramVersion, public TupDialogHost {
public:
    explicit TupUpdater(TComponent* Owner = nullptr);
    ~TupUpdater() override;

    // Starts a check. Without CheckOnly it returns at once and the run goes on in events; with
    // it, it waits (the user interface stays responsive) until the check has ended, never asks,
    // downloads or redirects, and returns whether a newer version is available.
    bool CheckForNewVersion(bool CheckOnly);
    // Stops the run, deletes the downloads and tells OnAborted.
    void CancelUpgrade() override;
    // Starts the replacer and ends the program; empty Params: after the finished upgrade.
    void RestartProgram(const std::string& Params);
    // After the settings were made: calls OnAfterRestart when the program's first argument is
    // RestartParams.
    void Loaded(const std::string& FirstArgument);

    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool Value);
    const std::string& RestartParams() const { return restartParams_; }
    // An empty text is stored as a single blank.
    void SetRestartParams(const std::string& Value);

    // settings
    int AutoCheckDelay = kDefaultAutoCheckDelay;
    TupCacheOptions CacheOptions;
    TupUpdateInfo InfoFile;
    std::string InfoFileURL = "http://";
    TupOtherFilesBehavior OtherFiles = TupOtherFilesBehavior::ofAlwaysDownload;
    TupShowMessages ShowMessages{TupShowMessage::mAskUpgrade, TupShowMessage::mConnLost,
                                 TupShowMessage::mLostFile, TupShowMessage::mPasswordRequest};
    TupWizardOptions Wizard;
    // The most bytes one download may take; never more than the free space less a margin.
    std::uint64_t MaxDownloadSize = kDefaultMaxDownloadSize;
    // The public key (base64) update information files must be signed with; empty: none.
    std::string UpdateKey;
    // Where the controller shows things: UpgraderWindows() in the program, a recorder in tests.
    // A run that has something to show without it raises an Exception.
    std::shared_ptr<TupUpdaterDialogs> Dialogs;

    // events
    TupBeginUpgradeEvent OnBeginUpgrade;
    TupEndUpgradeEvent OnEndUpgrade;
    TNotifyEvent OnLaterUpgrade;
    TupProgressEvent OnProgress;
    TupFileStartEvent OnFileStart;
    TupFileDoneEvent OnFileDone;
    TNotifyEvent OnCloseProgram;
    TNotifyEvent OnAfterRestart;
    TNotifyEvent OnAborted;
    TNotifyEvent OnConnLost;
    TupHostUnreachableEvent OnHostUnreachable;
    TNotifyEvent OnNoUpdateAvailable;
    TNotifyEvent OnNoInfoFile;
    TupLostFileEvent OnLostFile;
    TupHTTPPasswordRequestEvent OnPasswordRequest;
    // A downloaded file did not match its hash: it was deleted and the run cancelled.
    TupBadFileEvent OnBadFile;

    // state, for the dialogs and for whoever watches a run
    const std::vector<std::string>& FileList() const { return fileList_; }
    int FileIndex() const { return fileIndex_; }
    const std::string& LocalTempName() const { return localTempName_; }
    bool UpdateAvailable() const { return updateAvailable_; }
    int UpgradeMethodCode() const { return upgradeMethodCode_; }
    bool UpgradeComplete() const { return upgradeComplete_; }
    // The program's executable and its folder (with a trailing "/"), where downloads go.
    const std::string& ExePath() const { return exePath_; }
    // The program whose files an upgrade replaces: the running executable unless set.
    void SetExePath(const std::string& Value) { exePath_ = Value; }
    std::string ExeFolder() const;

    // what the upgrader's dialogs need
    const TupWizardOptions& WizardOptions() const override { return Wizard; }
    TupLoginComponent& Login() override { return *this; }
    std::string CurrentFileName() const override { return URLFileName(); }
    void WizardClosed() override;

private:
    void ArmAutoCheckTimer();
    void AutoCheckTimer();
    void AttachHandlers();
    void StartInfoTransfer();
    // the steps, in upUpdaterSteps.cpp
    void InfoFileReceived(TStream* Stream);
    bool ReadInfoFile(const std::string& Text);
    void DecideUpgrade(const std::string& Text);
    void DownloadNext(bool First);
    void StartDownload();
    std::uint64_t DownloadBound() const;
    bool WizardOpen();
    void FinishDownloads();
    void FileStart(std::uint32_t ContentLength, TDateTime LastModified, bool& Continue);
    bool SizeRuleAllows(std::uint32_t ContentLength) const;
    void FileDone();
    void Progress(std::uint32_t TotalSize, std::uint32_t BytesRead, std::uint32_t ElapsedTime,
                  std::int32_t TimeLeft, std::uint8_t PercentDone, float TransferRate);
    void ConnectionLost();
    void HostUnreachable();
    void EndFailedRun();
    void StatusError(int StatusCode);
    void NoInfoFile();
    void PasswordRequest(const std::string& Realm, bool& TryAgain);
    bool ProgramFolderWritable();
    std::string AnnouncedVersion(const std::string& Text) const;
    // Whether the announced release is the one installed last, which is never installed twice
    // in a row; says so once on standard error.
    bool InstalledJustNow();
    void RememberInstalledVersion();
    // A failure told where the run was started: a box, or standard error for an automatic run.
    void TellFailure(const std::string& Text);
    std::string ExpectedHash() const;
    void RefuseFile();
    // the end of a run, in upUpdaterRestart.cpp
    void StopTransfer();
    void DeleteTempFiles();
    void RunReplacer(const std::string& Args);
    void DeleteLeftoverReplacer();
    // in upUpdater.cpp
    TupUpdaterDialogs& Ui();
    void ShowMessage(int Entry, unsigned Flags);
    void EndDoneWait();

    std::unique_ptr<platform::TTimerWindow> timer_;
    bool autoCheck_ = false;
    std::string restartParams_ = kDefaultRestartParams;
    std::string exePath_;

    std::vector<std::string> fileList_;
    std::vector<std::string> fileHashes_;
    int fileIndex_ = 0;
    std::string localTempName_;
    TDateTime remoteFileTime_ = 0;
    bool updateAvailable_ = false;
    int upgradeMethodCode_ = 0;
    bool checkingInfo_ = false;
    bool checkOnlyMode_ = false;
    bool autoRun_ = false;
    bool autoCheckDone_ = false;
    bool abortedFlag_ = false;
    bool upgradeComplete_ = false;
    bool wizardShown_ = false;
    std::string announcedVersion_;
    bool toldInstalledAlready_ = false;
    TSignalEvent doneSignal_ = kInvalidSignalEvent;
};

} // namespace quorvex
