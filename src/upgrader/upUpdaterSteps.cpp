// The steps of a run: the information file, each download and each way a transfer can fail.
#include "download/upStreams.h"
#include "platform/File.h"
#include "platform/UpgradeFiles.h"
#include "settings/Settings.h"
#include "upgrader/upMessages.h"
#include "upgrader/upSignedInfo.h"
#include "upgrader/upUpdater.h"

#include <algorithm>
#include <cctype>
#include <iostream>

namespace quorvex {
namespace {

inline constexpr std::size_t kTempSuffixLength = 5; // ".uTMP"
// The longest file name the file systems people use take.
inline constexpr std::size_t kMaxFileNameLength = 255;
// Where the release just handed to the replacer is remembered.
inline constexpr const char* kInstalledVersionKey = "Updater/InstalledVersion";

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

// Why a release's file cannot be downloaded under its name; empty when every name is usable.
std::string UnusableName(const std::vector<std::string>& files) {
    for (const auto& url : files) {
        const std::string name = FileNameFromURL(url);
        if (name.empty())
            return "The update lists " + url + ", which names no file; nothing was downloaded.";
        if (name.size() + kTempSuffixLength > kMaxFileNameLength)
            return "The update lists a file whose name is longer than " +
                   std::to_string(kMaxFileNameLength - kTempSuffixLength) +
                   " characters; nothing was downloaded.";
    }
    return {};
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
    announcedVersion_ = AnnouncedVersion(*verified);
    updateAvailable_ = IsNewer(*verified) && !fileList_.empty() && !InstalledJustNow();
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

std::string TupUpdater::AnnouncedVersion(const std::string& Text) const {
    return InfoValue(Text, VersionControl == TupVersionControl::byNumber ? "version" : "date",
                     false);
}

bool TupUpdater::InstalledJustNow() {
    if (announcedVersion_.empty() ||
        settings::Value(kInstalledVersionKey, nullptr) != announcedVersion_)
        return false;
    // The new program still reports the old version: installing it again would restart the
    // program over and over.
    if (!toldInstalledAlready_)
        std::cerr << "Quorvex: version " << announcedVersion_
                  << " was installed just now and still reports an older version; it is not "
                     "installed again\n";
    toldInstalledAlready_ = true;
    return true;
}

void TupUpdater::RememberInstalledVersion() {
    try {
        settings::Write(kInstalledVersionKey, announcedVersion_);
    } catch (const Exception& failure) {
        std::cerr << "Quorvex: " << failure.what() << "\n";
    }
}

void TupUpdater::TellFailure(const std::string& Text) {
    // An automatic run must not put a box in front of whatever the person is doing.
    if (autoRun_)
        std::cerr << "Quorvex: " << Text << "\n";
    else
        Ui().MessageBox(Text, kUpdaterIconError);
}

void TupUpdater::DecideUpgrade(const std::string& Text) {
    const std::string message = InfoValue(Text, "message", true);
    upgradeMethodCode_ = quorvex::UpgradeMethodCode(InfoUpgradeMethod(Text));
    if (OnBeginUpgrade)
        OnBeginUpgrade(this, message, static_cast<TupUpgradeMethod>(upgradeMethodCode_), fileList_,
                       updateAvailable_);
    if (checkOnlyMode_)
        return;
    if (const std::string unusable = UnusableName(fileList_); !unusable.empty()) {
        TellFailure(unusable);
        if (OnLaterUpgrade)
            OnLaterUpgrade(this);
        return;
    }
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
    localTempName_ = ExeFolder() + FileNameFromURL(URL) + kTempFileSuffix;
    OutputFileName = localTempName_;
    MaxBodySize = DownloadBound();
    ReleaseOutput();
    Fetch(false);
}

std::uint64_t TupUpdater::DownloadBound() const {
    const std::uint64_t free = platform::FreeBytesIn(ExeFolder()).value_or(MaxDownloadSize);
    // At least one byte: a bound of 0 would mean no bound at all.
    return std::max<std::uint64_t>(
        std::min(MaxDownloadSize, free > kFreeSpaceMargin ? free - kFreeSpaceMargin : 0), 1);
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
    EndFailedRun();
}

void TupUpdater::HostUnreachable() {
    const std::string host = URLHostName();
    if (OnHostUnreachable)
        OnHostUnreachable(this, URL, host);
    // Only a check that could not reach the site is tried again; a run that failed during its
    // downloads waits for the next regular check rather than fetching the same files again.
    if (autoRun_ && checkingInfo_) {
        autoCheckDone_ = false;
        ArmAutoCheckTimer();
    } else if (autoRun_) {
        std::cerr << "Quorvex: the update stopped: " << host << " cannot be reached\n";
    } else if (ShowMessages.Contains(TupShowMessage::mHostUnreachable)) {
        Ui().MessageBox(UpgraderFormat(upmsg::kHostUnreachable, {"'http://" + host + "'"}),
                        kUpdaterIconError);
    }
    EndFailedRun();
}

void TupUpdater::EndFailedRun() {
    StopTransfer();
    // Nothing half-written stays behind, so no partial file can be moved in later.
    if (!checkingInfo_)
        DeleteTempFiles();
}

void TupUpdater::StatusError(int StatusCode) {
    if (checkingInfo_) {
        NoInfoFile();
        return;
    }
    bool continueUpgrade = false;
    if (OnLostFile)
        OnLostFile(this, URL, StatusCode, continueUpgrade);
    // A signed release is installed whole or not at all: its files belong together.
    if (!UpdateKey.empty()) {
        TellFailure("The file " + URLFileName() + " of the signed release cannot be had (#" +
                    std::to_string(StatusCode) + "); nothing of the release was installed.");
        CancelUpgrade();
        return;
    }
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
