// The steps of a run: the information file, each download and each way a transfer can fail.
#include "download/upStreams.h"
#include "platform/File.h"
#include "platform/UpgradeFiles.h"
#include "upgrader/upMessages.h"
#include "upgrader/upSignedInfo.h"
#include "upgrader/upUpdater.h"

#include <algorithm>
#include <cctype>
#include <iostream>

namespace quorvex {
namespace {

inline constexpr std::size_t kTempSuffixLength = 5; // ".uTMP"

std::string ReadWhole(TStream& stream) {
    std::string text(static_cast<std::size_t>(std::max<std::int64_t>(stream.Size(), 0)), '\0');
    stream.Seek(0);
    text.resize(stream.Read(text.data(), text.size()));
    return text;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

} // namespace

void TupUpdater::InfoFileReceived(TStream* Stream) {
    const std::string text = Stream != nullptr ? ReadWhole(*Stream) : std::string();
    if (!ReadInfoFile(text)) {
        NoInfoFile();
        return;
    }
    EndDoneWait();
}

bool TupUpdater::ReadInfoFile(const std::string& Text) {
    // With a key built in, an unsigned or forged file is no information file at all.
    const auto verified = VerifiedInfoText(Text, UpdateKey);
    if (!verified)
        return false;
    fileList_ = InfoFileList(*verified);
    fileHashes_ = InfoFileHashes(*verified);
    updateAvailable_ = IsNewer(*verified) && !fileList_.empty();
    if (updateAvailable_) {
        DecideUpgrade(*verified);
        return true;
    }
    if (OnNoUpdateAvailable)
        OnNoUpdateAvailable(this);
    if (!autoRun_ && ShowMessages.Contains(TupShowMessage::mNoUpdateAvailable))
        ShowMessage(upmsg::kNoNewerVersion, kUpdaterIconInformation);
    return true;
}

void TupUpdater::DecideUpgrade(const std::string& Text) {
    const std::string message = InfoValue(Text, "message", true);
    upgradeMethodCode_ = quorvex::UpgradeMethodCode(InfoUpgradeMethod(Text));
    if (OnBeginUpgrade)
        OnBeginUpgrade(this, message, static_cast<TupUpgradeMethod>(upgradeMethodCode_), fileList_,
                       updateAvailable_);
    if (checkOnlyMode_)
        return;
    const bool redirect =
        upgradeMethodCode_ == quorvex::UpgradeMethodCode(TupUpgradeMethod::umRedirectToURL);
    if (!updateAvailable_ || (!redirect && !ProgramFolderWritable()) ||
        (ShowMessages.Contains(TupShowMessage::mAskUpgrade) && !Ui().AskUpgrade(message))) {
        if (OnLaterUpgrade)
            OnLaterUpgrade(this);
    } else if (redirect) {
        OpenURL(fileList_.front(), true);
    } else {
        DownloadNext(true);
    }
}

bool TupUpdater::ProgramFolderWritable() {
    if (platform::CanCreateFilesIn(ExeFolder()))
        return true;
    // Installed by the system: downloading next to the program would fail on every run.
    std::cerr << "Quorvex: a newer version is available; this installation in " << ExeFolder()
              << " is updated by the system's package manager\n";
    return false;
}

void TupUpdater::DownloadNext(bool First) {
    if (First) {
        checkingInfo_ = false;
        RequestCacheOptions = CacheOptions;
        fileIndex_ = 0;
        // A leftover of an earlier run must never be moved in with this run's files.
        DeleteTempFiles();
        wizardShown_ = Wizard.Enabled;
        if (wizardShown_)
            Ui().ShowWizard(*this);
    } else {
        ++fileIndex_;
    }
    if (fileIndex_ < static_cast<int>(fileList_.size()))
        StartDownload();
    else
        FinishDownloads();
}

bool TupUpdater::WizardOpen() {
    return wizardShown_ && Ui().WizardShown();
}

void TupUpdater::StartDownload() {
    URL = fileList_[static_cast<std::size_t>(fileIndex_)];
    if (WizardOpen())
        Ui().WizardFileStarted(URL, fileIndex_, static_cast<int>(fileList_.size()));
    localTempName_ = ExeFolder() + ExtractURLFileName(URL) + kTempFileSuffix;
    OutputFileName = localTempName_;
    ReleaseOutput();
    Fetch(false);
}

void TupUpdater::FinishDownloads() {
    if (WizardOpen()) {
        Ui().ShowWizardFinished();
        WaitForSignal(doneSignal_, 0, true);
        if (abortedFlag_)
            return;
    }
    upgradeComplete_ = true;
    bool restartNow = true;
    if (OnEndUpgrade)
        OnEndUpgrade(this, restartNow);
    if (restartNow)
        RestartProgram("");
}

void TupUpdater::FileStart(std::uint32_t ContentLength, TDateTime LastModified, bool& Continue) {
    remoteFileTime_ = LastModified;
    if (WizardOpen())
        Ui().WizardFileSize(ContentLength);
    Continue = SizeRuleAllows(ContentLength);
    if (OnFileStart)
        OnFileStart(this, URL, static_cast<std::int32_t>(ContentLength), remoteFileTime_, Continue);
}

bool TupUpdater::SizeRuleAllows(std::uint32_t ContentLength) const {
    const std::string target = localTempName_.substr(0, localTempName_.size() - kTempSuffixLength);
    if (OtherFiles != TupOtherFilesBehavior::ofOnlyIfSizeDifferent || ContentLength == 0 ||
        fileList_.size() <= 1 || SameIgnoringCase(NameOf(target), NameOf(exePath_)))
        return true;
    const std::int64_t existing = GetFileSize64(target);
    return existing < 0 || existing != static_cast<std::int64_t>(ContentLength);
}

void TupUpdater::FileDone() {
    if (remoteFileTime_ != 0)
        SetFileTimes(localTempName_, remoteFileTime_, remoteFileTime_, -1);
    if (!FileMatchesHash(localTempName_, ExpectedHash())) {
        RefuseFile();
        return;
    }
    if (OnFileDone)
        OnFileDone(this, localTempName_);
    DownloadNext(false);
}

std::string TupUpdater::ExpectedHash() const {
    const auto index = static_cast<std::size_t>(fileIndex_);
    return index < fileHashes_.size() ? fileHashes_[index] : std::string();
}

void TupUpdater::RefuseFile() {
    platform::DeleteFile(localTempName_);
    const std::string text = "The downloaded file " + URLFileName() +
                             " does not match the update information and was deleted; the "
                             "upgrade was cancelled.";
    std::cerr << "Quorvex: " << text << "\n";
    if (OnBadFile)
        OnBadFile(this, URL);
    Ui().MessageBox(text, kUpdaterIconError);
    CancelUpgrade();
}

void TupUpdater::Progress(std::uint32_t TotalSize, std::uint32_t BytesRead,
                          std::uint32_t ElapsedTime, std::int32_t TimeLeft,
                          std::uint8_t PercentDone, float TransferRate) {
    const auto count = static_cast<int>(fileList_.size());
    const auto total = static_cast<std::uint8_t>(Percent(count, fileIndex_) + PercentDone / count);
    if (OnProgress)
        OnProgress(this, URL, static_cast<std::int32_t>(TotalSize),
                   static_cast<std::int32_t>(BytesRead), static_cast<std::int32_t>(ElapsedTime),
                   TimeLeft, PercentDone, total, TransferRate);
    if (WizardOpen())
        Ui().WizardProgress(PercentDone, total, TransferRate, TimeLeft);
}

void TupUpdater::ConnectionLost() {
    if (OnConnLost)
        OnConnLost(this);
    if (ShowMessages.Contains(TupShowMessage::mConnLost))
        ShowMessage(upmsg::kConnectionLost, kUpdaterIconError);
    StopTransfer();
}

void TupUpdater::HostUnreachable() {
    const std::string host = URLHostName();
    if (OnHostUnreachable)
        OnHostUnreachable(this, URL, host);
    if (autoRun_) {
        autoCheckDone_ = false;
        ArmAutoCheckTimer();
    } else if (ShowMessages.Contains(TupShowMessage::mHostUnreachable)) {
        Ui().MessageBox(UpgraderFormat(upmsg::kHostUnreachable, {"'http://" + host + "'"}),
                        kUpdaterIconError);
    }
    StopTransfer();
}

void TupUpdater::StatusError(int StatusCode) {
    if (checkingInfo_) {
        NoInfoFile();
        return;
    }
    bool continueUpgrade = false;
    if (OnLostFile)
        OnLostFile(this, URL, StatusCode, continueUpgrade);
    if (ShowMessages.Contains(TupShowMessage::mLostFile))
        continueUpgrade =
            Ui().AskYesNo(UpgraderFormat(upmsg::kLostFile, {URLFileName()}),
                          UpgraderText(upmsg::kError) + " #" + std::to_string(StatusCode));
    if (continueUpgrade)
        DownloadNext(false);
    else
        CancelUpgrade();
}

void TupUpdater::NoInfoFile() {
    EndDoneWait();
    if (OnNoInfoFile)
        OnNoInfoFile(this);
    if (ShowMessages.Contains(TupShowMessage::mNoInfoFile))
        ShowMessage(upmsg::kNoInfoFile, kUpdaterIconError);
}

void TupUpdater::PasswordRequest(const std::string& Realm, bool& TryAgain) {
    if (OnPasswordRequest)
        OnPasswordRequest(this, Realm, TryAgain);
    if (TryAgain || !ShowMessages.Contains(TupShowMessage::mPasswordRequest))
        return;
    TryAgain = Ui().AskPassword(*this);
    if (!TryAgain)
        CancelUpgrade();
}

} // namespace quorvex
