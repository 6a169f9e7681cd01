#include "upgrader/upUpdater.h"

#include "download/upStreams.h"
#include "platform/Exception.h"
#include "platform/TimerWindow.h"
#include "platform/UpgradeFiles.h"
#include "upgrader/upMessages.h"

namespace quorvex {

namespace {

// The one timer of the controller's hidden window.
inline constexpr platform::TTimerWindow::TTimerId kAutoCheckTimer = 1;

} // namespace

TupUpdater::TupUpdater(TComponent* Owner)
    : TupCustomHTTP(Owner)
    , CacheOptions(RequestCacheOptions)
    , timer_(std::make_unique<platform::TTimerWindow>())
    , exePath_(platform::ProgramPath()) {
    timer_->OnTimer = [this](platform::TTimerWindow::TTimerId) { AutoCheckTimer(); };
    OutputFileAttributes.SetIncomplete({TupFileAttribute::atrArchive, TupFileAttribute::atrHidden,
                                        TupFileAttribute::atrTemporary});
    AttachHandlers();
    DeleteLeftoverReplacer();
}

TupUpdater::~TupUpdater() {
    SetAutoCheck(false);
    // A transfer still running must find nothing of the controller to call back.
    OnResponseHeaders = nullptr;
    OnTransferSkipped = nullptr;
    OnTransferComplete = nullptr;
    OnDownloadProgress = nullptr;
    OnTransferBroken = nullptr;
    OnServerUnreachable = nullptr;
    OnHTTPStatusError = nullptr;
    OnAuthorizationRequest = nullptr;
    if (Dialogs && Dialogs->WizardShown())
        Ui().DestroyWizard();
}

void TupUpdater::AttachHandlers() {
    OnResponseHeaders = [this](TComponent*, int, const std::string&, const std::string&,
                               const std::string&, const std::string&, std::uint32_t ContentLength,
                               const std::string&, TDateTime, TDateTime LastModified, TDateTime,
                               const std::string&, bool& Continue) {
        if (!checkingInfo_)
            FileStart(ContentLength, LastModified, Continue);
    };
    OnTransferSkipped = [this](TComponent*) { DownloadNext(false); };
    OnTransferComplete = [this](TComponent*, const std::string&, std::uint32_t, TStream* Stream) {
        if (checkingInfo_)
            InfoFileReceived(Stream);
        else
            FileDone();
    };
    OnDownloadProgress = [this](TComponent*, const std::string&, std::uint32_t TotalSize,
                                std::uint32_t BytesRead, std::uint32_t ElapsedTime,
                                std::int32_t TimeLeft, std::uint8_t PercentDone, float TransferRate,
                                TStream*) {
        if (!checkingInfo_)
            Progress(TotalSize, BytesRead, ElapsedTime, TimeLeft, PercentDone, TransferRate);
    };
    OnTransferBroken = [this](TComponent*, const std::string&, std::uint32_t, std::uint32_t,
                              TStream*) { ConnectionLost(); };
    OnServerUnreachable = [this](TComponent*) { HostUnreachable(); };
    OnHTTPStatusError = [this](TComponent*, int StatusCode, TStream*) { StatusError(StatusCode); };
    OnAuthorizationRequest = [this](TComponent*, const std::string& Realm, bool& TryAgain) {
        PasswordRequest(Realm, TryAgain);
    };
}

void TupUpdater::SetAutoCheck(bool Value) {
    if (Value == autoCheck_)
        return;
    autoCheck_ = Value;
    ArmAutoCheckTimer();
}

void TupUpdater::SetRestartParams(const std::string& Value) {
    restartParams_ = Value.empty() ? " " : Value;
}

std::string TupUpdater::ExeFolder() const {
    return exePath_.substr(0, exePath_.find_last_of('/') + 1);
}

void TupUpdater::Loaded(const std::string& FirstArgument) {
    if (OnAfterRestart && FirstArgument == restartParams_)
        OnAfterRestart(this);
}

void TupUpdater::ArmAutoCheckTimer() {
    timer_->KillTimer(kAutoCheckTimer);
    if (autoCheck_ && !autoCheckDone_ && AutoCheckDelay > 0 &&
        !timer_->SetTimer(kAutoCheckTimer, AutoCheckDelay))
        throw Exception("Not enough timers available");
}

void TupUpdater::AutoCheckTimer() {
    // Offline, or a run still going (one the user started, say): wait for a later tick.
    if (!IsOnline() || !autoCheck_ || IsBusy())
        return;
    autoCheckDone_ = true;
    ArmAutoCheckTimer();
    CheckForNewVersion(false);
    autoRun_ = true;
}

bool TupUpdater::CheckForNewVersion(bool CheckOnly) {
    // One transfer at a time: a check refused meanwhile must not change the running run's
    // mode, which a check-only check waiting further up the stack still counts on.
    if (IsBusy())
        return updateAvailable_;
    struct EndCheckOnly {
        bool& flag;
        ~EndCheckOnly() { flag = false; }
    } endCheckOnly{checkOnlyMode_};
    if (CheckOnly)
        checkOnlyMode_ = true;
    abortedFlag_ = false;
    autoRun_ = false;
    StartInfoTransfer();
    if (CheckOnly)
        WaitForSignal(doneSignal_, 0, true);
    return updateAvailable_;
}

void TupUpdater::StartInfoTransfer() {
    checkingInfo_ = true;
    RequestCacheOptions = CacheOptions;
    RequestCacheOptions.Include(TupCacheOption::coPragmaNoCache);
    URL = InfoFileURL;
    MaxBodySize = kMaxInfoFileSize;
    OutputFileName.clear();
    ReleaseOutput();
    Fetch(false);
}

void TupUpdater::EndDoneWait() {
    Signal(doneSignal_);
}

void TupUpdater::WizardClosed() {
    EndDoneWait();
}

TupUpdaterDialogs& TupUpdater::Ui() {
    if (!Dialogs)
        throw Exception("The upgrade controller has nowhere to show its dialogs");
    return *Dialogs;
}

void TupUpdater::ShowMessage(int Entry, unsigned Flags) {
    Ui().MessageBox(UpgraderText(Entry), Flags);
}

} // namespace quorvex
