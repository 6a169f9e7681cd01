#include "platform/Crypto.h"
#include "support/FakeBrowser.h"
#include "support/Pumping.h"
#include "support/ScopedEnvironment.h"
#include "support/Waiting.h"
#include "upgrader/UpdaterTestKit.h"
#include "upgrader/upMessages.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <thread>

namespace quorvex::test_support {
namespace {

namespace fs = std::filesystem;

inline constexpr const char* kNewer = "1.3.3.10";
inline constexpr const char* kClosedPortUrl = "http://127.0.0.1:1/Quorvex/update.inf";

std::string Box(int entry, unsigned flags) {
    return "MessageBox: " + std::to_string(flags) + " " + UpgraderText(entry);
}

class Updater : public UpdaterTest {
protected:
    Updater() { updater_.Wizard.SetLanguage(TupLanguage::wlEnglish); }

    // The release: a new program and a second file, both listed.
    void PublishTwoFiles() {
        site_.PutFile("/Quorvex/quorvex", "new program",
                      {"Last-Modified: Mon, 08 Dec 2008 10:20:30 GMT"});
        site_.PutFile("/Quorvex/readme.txt", "notes");
        PutInfo(InfoText(kNewer, {site_.FileUrl("quorvex"), site_.FileUrl("readme.txt")}));
    }
    // A check is not started while a transfer runs: the last run's winds down first.
    void CheckAndWaitFor(const std::string& event) {
        ASSERT_TRUE(PumpUntil([&] { return !updater_.IsBusy(); }));
        updater_.CheckForNewVersion(false);
        ASSERT_TRUE(WaitForEvent(event)) << testing::PrintToString(events_);
    }
};

TEST_F(Updater, ANewerVersionIsDownloadedNextToTheProgramWithoutAsking) {
    PublishTwoFiles();
    CheckAndWaitFor("EndUpgrade");
    EXPECT_EQ(events_, (std::vector<std::string>{"FileDone quorvex.uTMP",
                                                 "FileDone readme.txt.uTMP", "EndUpgrade"}));
    EXPECT_EQ(ReadProgramFile("quorvex.uTMP"), "new program");
    EXPECT_EQ(ReadProgramFile("readme.txt.uTMP"), "notes");
    EXPECT_EQ(ReadProgramFile("quorvex"), "old program"); // the replacer swaps them in
    EXPECT_TRUE(updater_.UpgradeComplete());
    EXPECT_TRUE(dialogs_->Calls.empty());
    const auto requests = site_.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].Path(), "/Quorvex/update.inf");
    EXPECT_EQ(requests[0].Headers.Value("Pragma"), "no-cache");
    EXPECT_EQ(requests[1].Headers.Value("Pragma"), "");
    // The file keeps the server's time (two-second resolution).
    const auto written = fs::last_write_time(ProgramFile("quorvex.uTMP"));
    using namespace std::chrono;
    const auto expected = file_clock::from_sys(sys_days(2008y / December / 8) + 10h + 20min + 30s);
    EXPECT_LE(abs(duration_cast<seconds>(written - expected).count()), 2);
}

TEST_F(Updater, EachFailureOfTheCheckHasItsEventAndItsMessageWhenEnabled) {
    const struct {
        const char* what;
        std::string info; // empty: no information file on the site
        std::string infoUrl;
        TupShowMessage message;
        std::string event;
        std::string box;
    } cases[] = {
        {"no information file", "", "", TupShowMessage::mNoInfoFile, "NoInfoFile",
         Box(upmsg::kNoInfoFile, kUpdaterIconError)},
        {"no newer version", InfoText("1.3.3.9", {"http://h/x"}), "",
         TupShowMessage::mNoUpdateAvailable, "NoUpdateAvailable",
         Box(upmsg::kNoNewerVersion, kUpdaterIconInformation)},
        {"a newer version without files", InfoText(kNewer, {}), "",
         TupShowMessage::mNoUpdateAvailable, "NoUpdateAvailable",
         Box(upmsg::kNoNewerVersion, kUpdaterIconInformation)},
        {"an unreachable host", "", kClosedPortUrl, TupShowMessage::mHostUnreachable,
         "HostUnreachable 127.0.0.1",
         "MessageBox: 16 " + UpgraderFormat(upmsg::kHostUnreachable, {"'http://127.0.0.1'"})},
    };
    for (const auto& each : cases) {
        for (const bool enabled : {false, true}) {
            SCOPED_TRACE(std::string(each.what) + (enabled ? " with" : " without") + " message");
            events_.clear();
            dialogs_->Calls.clear();
            PutInfo(each.info);
            if (each.info.empty())
                site_.Put("/Quorvex/update.inf", Reply::WithBody(404, "Not Found", "gone"));
            updater_.InfoFileURL =
                each.infoUrl.empty() ? site_.FileUrl("update.inf") : each.infoUrl;
            updater_.ShowMessages = enabled ? TupShowMessages{each.message} : TupShowMessages{};
            CheckAndWaitFor(each.event);
            EXPECT_FALSE(updater_.UpdateAvailable());
            EXPECT_EQ(dialogs_->Calls,
                      enabled ? std::vector<std::string>{each.box} : std::vector<std::string>{});
            EXPECT_TRUE(TempFiles().empty());
        }
    }
}

TEST_F(Updater, AnAutomaticCheckThatCannotReachTheHostTriesAgainSilently) {
    updater_.InfoFileURL = kClosedPortUrl;
    updater_.ShowMessages = {TupShowMessage::mHostUnreachable, TupShowMessage::mNoUpdateAvailable};
    updater_.AutoCheckDelay = 50;
    updater_.SetAutoCheck(true);
    ASSERT_TRUE(PumpUntil([&] { return events_.size() >= 2; }));
    updater_.SetAutoCheck(false);
    EXPECT_EQ(events_[0], "HostUnreachable 127.0.0.1");
    EXPECT_EQ(events_[1], "HostUnreachable 127.0.0.1");
    EXPECT_TRUE(dialogs_->Calls.empty());
}

TEST_F(Updater, AnAutomaticRunThatFailsDuringItsDownloadsWaitsForTheNextRegularCheck) {
    site_.PutFile("/Quorvex/quorvex", "new program");
    PutInfo(InfoText(kNewer, {site_.FileUrl("quorvex"), kClosedPortUrl}));
    updater_.AutoCheckDelay = 20;
    testing::internal::CaptureStderr();
    updater_.SetAutoCheck(true);
    ASSERT_TRUE(WaitForEvent("HostUnreachable"));
    PumpFor(Milliseconds(300));
    updater_.SetAutoCheck(false);
    EXPECT_THAT(testing::internal::GetCapturedStderr(), testing::HasSubstr("cannot be reached"));
    EXPECT_EQ(site_.Requests().size(), 2u);
    EXPECT_TRUE(dialogs_->Calls.empty());
}

TEST_F(Updater, AFileIsNamedWithoutQueryAndANamelessOneIsRefusedBeforeAnyDownload) {
    const std::string longName(260, 'n');
    const struct {
        std::string url;
        std::string refusal; // empty: downloaded
    } cases[] = {
        {site_.FileUrl("quorvex?v=2#top"), ""},
        {site_.FileUrl(""), "names no file"},
        {site_.FileUrl(longName), "longer than 250"},
    };
    site_.PutFile("/Quorvex/quorvex", "new program");
    for (const auto& each : cases) {
        SCOPED_TRACE(each.url);
        events_.clear();
        dialogs_->Calls.clear();
        PutInfo(InfoText(kNewer, {site_.FileUrl("quorvex"), each.url}));
        CheckAndWaitFor(each.refusal.empty() ? "EndUpgrade" : "LaterUpgrade");
        if (each.refusal.empty()) {
            EXPECT_EQ(TempFiles(), std::vector<std::string>{"quorvex.uTMP"});
            continue;
        }
        EXPECT_THAT(dialogs_->Of("MessageBox"),
                    testing::ElementsAre(testing::HasSubstr(each.refusal)));
        EXPECT_EQ(site_.Paths().back(), "/Quorvex/update.inf");
    }
}

TEST_F(Updater, AnAutomaticCheckFiresOnceAndTellsNoUpdateSilently) {
    PutInfo(InfoText("1.3.3.9", {"http://h/x"}));
    updater_.ShowMessages = {TupShowMessage::mNoUpdateAvailable};
    updater_.AutoCheckDelay = 20;
    updater_.SetAutoCheck(true);
    ASSERT_TRUE(WaitForEvent("NoUpdateAvailable"));
    PumpFor(Milliseconds(300));
    EXPECT_EQ(site_.Requests().size(), 1u);
    EXPECT_TRUE(dialogs_->Calls.empty());
}

TEST_F(Updater, TheTimerWaitsForACheckTheUserStartedInsteadOfTakingItOver) {
    std::atomic<int> ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    // The user's check is answered only after many ticks of the controller's timer.
    LoopbackHttpServer slowSite([&](const RecordedRequest&) {
        PollUntil([&] { return ticks.load() >= 10; });
        return Reply::WithBody(200, "OK", InfoText("1.3.3.9", {"http://h/x"}));
    });
    updater_.InfoFileURL = slowSite.Url("/Quorvex/update.inf");
    updater_.ShowMessages = {TupShowMessage::mNoUpdateAvailable};
    updater_.AutoCheckDelay = 20;
    updater_.SetAutoCheck(true);
    updater_.CheckForNewVersion(false);
    // The user's check tells its result; the automatic one follows it, silently.
    ASSERT_TRUE(PumpUntil(
        [&] { return std::count(events_.begin(), events_.end(), "NoUpdateAvailable") == 2; }));
    updater_.SetAutoCheck(false);
    EXPECT_EQ(dialogs_->Calls,
              std::vector<std::string>{Box(upmsg::kNoNewerVersion, kUpdaterIconInformation)});
    EXPECT_EQ(slowSite.Requests().size(), 2u);
}

TEST_F(Updater, ABrokenOrOversizedTransferTellsTheLostConnectionAndLeavesNoPartialFile) {
    const struct {
        const char* what;
        std::string program; // the reply for the new program
        std::string infoPadding;
        std::size_t requests;
        Milliseconds silence{0}; // after the bytes, before the connection closes
    } cases[] = {
        {"cut off", "Content-Length: 1000\r\n\r\nonly part", "", 2},
        {"endless", "\r\n" + std::string(300 << 10, 'x'), "", 2},
        {"huge information file", "\r\nnew program", std::string(kMaxInfoFileSize, ';'), 1},
        {"silent after the headers", "Content-Length: 11\r\n\r\n", "", 2, Milliseconds(600000)},
    };
    updater_.MaxDownloadSize = 100 << 10;
    updater_.DefaultReceiveTimeout = 500;
    updater_.ShowMessages = {TupShowMessage::mConnLost};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        events_.clear();
        dialogs_->Calls.clear();
        const auto before = site_.Requests().size();
        site_.Put("/Quorvex/quorvex",
                  Reply::Raw("HTTP/1.1 200 OK\r\n" + each.program).Delay(each.silence).Close());
        PutInfo(InfoText(kNewer, {site_.FileUrl("quorvex")}) + each.infoPadding);
        CheckAndWaitFor("ConnLost");
        PumpFor(Milliseconds(200));
        EXPECT_EQ(dialogs_->Calls, std::vector<std::string>{Box(upmsg::kConnectionLost, 16)});
        EXPECT_TRUE(TempFiles().empty());
        EXPECT_FALSE(HasEvent("EndUpgrade"));
        EXPECT_EQ(site_.Requests().size() - before, each.requests); // no retry
    }
}

TEST_F(Updater, AMissingFileIsSkippedOnYesAndCancelsTheRunOnNo) {
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        events_.clear();
        dialogs_->Calls.clear();
        dialogs_->YesNoAnswer = yes;
        WriteProgramFile("stale.bin.uTMP", "from an earlier run");
        site_.PutFile("/Quorvex/readme.txt", "notes");
        PutInfo(InfoText(kNewer, {site_.FileUrl("missing.bin"), site_.FileUrl("readme.txt")}));
        updater_.ShowMessages = {TupShowMessage::mLostFile};
        CheckAndWaitFor(yes ? "EndUpgrade" : "Aborted");
        EXPECT_EQ(events_.front(), "LostFile 404 " + site_.FileUrl("missing.bin"));
        EXPECT_EQ(dialogs_->Of("AskYesNo"),
                  std::vector<std::string>{"AskYesNo: Error #404 | " +
                                           UpgraderFormat(upmsg::kLostFile, {"missing.bin"})});
        // The earlier run's leftover is gone either way; only Yes keeps this run's file.
        EXPECT_EQ(TempFiles(),
                  yes ? std::vector<std::string>{"readme.txt.uTMP"} : std::vector<std::string>{});
    }
}

TEST_F(Updater, AMissingFileWithoutTheQuestionCancels) {
    PutInfo(InfoText(kNewer, {site_.FileUrl("missing.bin")}));
    CheckAndWaitFor("Aborted");
    EXPECT_TRUE(dialogs_->Calls.empty());
}

TEST_F(Updater, AProtectedFileAsksForTheLoginAndIsFetchedWithIt) {
    const std::string authorization = "Basic dXNlcjpzZWNyZXQ="; // user:secret
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        events_.clear();
        dialogs_->Calls.clear();
        updater_.HTTPUsername.clear();
        updater_.HTTPPassword.clear();
        dialogs_->PasswordLogin = ok ? "user:secret" : "";
        LoopbackHttpServer files([&](const RecordedRequest& request) {
            if (request.Headers.Value("Authorization") == authorization)
                return Reply::WithBody(200, "OK", "protected program");
            return Reply::WithBody(401, "Unauthorized", "login",
                                   {"WWW-Authenticate: Basic realm=\"members\""});
        });
        PutInfo(InfoText(kNewer, {files.Url("/Quorvex/quorvex")}));
        updater_.ShowMessages = {TupShowMessage::mPasswordRequest};
        CheckAndWaitFor(ok ? "EndUpgrade" : "Aborted");
        EXPECT_EQ(dialogs_->Of("AskPassword"), std::vector<std::string>{"AskPassword: quorvex"});
        EXPECT_EQ(ok ? ReadProgramFile("quorvex.uTMP") : "", ok ? "protected program" : "");
        EXPECT_EQ(TempFiles().empty(), !ok);
        PumpFor(Milliseconds(200)); // a cancelled run tells nothing more
        EXPECT_EQ(std::count(events_.begin(), events_.end(), "Aborted"), ok ? 0 : 1)
            << testing::PrintToString(events_);
    }
}

TEST_F(Updater, TheUserMayPutTheUpgradeOff) {
    PublishTwoFiles();
    updater_.ShowMessages = {TupShowMessage::mAskUpgrade};
    dialogs_->UpgradeAnswer = false;
    PutInfo(InfoText(kNewer, {site_.FileUrl("quorvex")}, "#message={Faster\r\nand smaller}\r\n"));
    CheckAndWaitFor("LaterUpgrade");
    EXPECT_EQ(dialogs_->Calls, std::vector<std::string>{"AskUpgrade: Faster\r\nand smaller"});
    EXPECT_EQ(site_.Requests().size(), 1u);

    dialogs_->UpgradeAnswer = true;
    CheckAndWaitFor("EndUpgrade");
    EXPECT_EQ(ReadProgramFile("quorvex.uTMP"), "new program");
}

TEST_F(Updater, BeginUpgradeMayRefuseAndCheckOnlyNeverDownloads) {
    PublishTwoFiles();
    updater_.ShowMessages = {TupShowMessage::mAskUpgrade};
    std::vector<std::string> begun;
    bool refuse = true;
    updater_.OnBeginUpgrade = [&](TComponent*, const std::string&, TupUpgradeMethod,
                                  const std::vector<std::string>& files, bool& CanUpgrade) {
        begun.push_back(std::to_string(files.size()) + " files");
        if (refuse)
            CanUpgrade = false;
    };
    EXPECT_FALSE(updater_.CheckForNewVersion(true));
    EXPECT_FALSE(updater_.UpdateAvailable());
    // The check has ended; its transfer winds down before the next one can start.
    ASSERT_TRUE(PumpUntil([&] { return !updater_.IsBusy(); }));
    updater_.CheckForNewVersion(false);
    ASSERT_TRUE(WaitForEvent("LaterUpgrade"));

    refuse = false;
    events_.clear();
    ASSERT_TRUE(PumpUntil([&] { return !updater_.IsBusy(); }));
    EXPECT_TRUE(updater_.CheckForNewVersion(true));
    EXPECT_EQ(begun, (std::vector<std::string>{"2 files", "2 files", "2 files"}));
    EXPECT_TRUE(events_.empty());
    EXPECT_TRUE(dialogs_->Calls.empty()); // nothing asked
    EXPECT_EQ(site_.Paths(), std::vector<std::string>(3, "/Quorvex/update.inf"));
}

TEST_F(Updater, ACheckRefusedWhileOneRunsLeavesTheRunningCheckOnlyCheckAlone) {
    PublishTwoFiles();
    std::atomic<bool> refused = false;
    // The information file arrives only once the second check was refused.
    LoopbackHttpServer slowSite([&](const RecordedRequest&) {
        PollUntil([&] { return refused.load(); });
        return Reply::WithBody(200, "OK", InfoText(kNewer, {site_.FileUrl("quorvex")}));
    });
    updater_.InfoFileURL = slowSite.Url("/Quorvex/update.inf");
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&] {
            updater_.CheckForNewVersion(false);
            refused = true;
        },
        Qt::QueuedConnection);
    EXPECT_TRUE(updater_.CheckForNewVersion(true));
    EXPECT_TRUE(refused);
    EXPECT_EQ(updater_.URL, updater_.InfoFileURL); // no download was started
    ASSERT_TRUE(PumpUntil([&] { return !updater_.IsBusy(); }));
    EXPECT_TRUE(site_.Requests().empty());
    EXPECT_TRUE(events_.empty());
}

TEST_F(Updater, TheRedirectMethodOpensTheFirstAddressAndDownloadsNothing) {
    FakeBrowser browser;
    browser.RemoveDefaultAndProvideOpener();
    PutInfo(InfoText(kNewer, {"http://h/Quorvex/setup.html", "http://h/other"}, "#method=2\r\n"));
    updater_.CheckForNewVersion(false);
    ASSERT_TRUE(PumpUntil([&] { return !browser.Starts().empty(); }));
    EXPECT_EQ(browser.Starts().at(0).back(), "http://h/Quorvex/setup.html");
    EXPECT_EQ(updater_.UpgradeMethodCode(), 2);
    EXPECT_EQ(site_.Requests().size(), 1u);
    EXPECT_TRUE(events_.empty());
}

TEST_F(Updater, OnlyFilesOfAChangedSizeAreFetchedWhenAskedButAlwaysTheProgram) {
    PublishTwoFiles();
    WriteProgramFile("quorvex", std::string(11, 'x')); // as long as "new program"
    WriteProgramFile("readme.txt", "NOTES");           // as long as "notes"
    updater_.OtherFiles = TupOtherFilesBehavior::ofOnlyIfSizeDifferent;
    std::vector<std::string> starts;
    updater_.OnFileStart = [&](TComponent*, const std::string& url, std::int32_t size, TDateTime,
                               bool& CanUpgrade) {
        starts.push_back(fs::path(url).filename().string() + " " + std::to_string(size) +
                         (CanUpgrade ? " fetch" : " skip"));
    };
    CheckAndWaitFor("EndUpgrade");
    EXPECT_EQ(starts, (std::vector<std::string>{"quorvex 11 fetch", "readme.txt 5 skip"}));
    EXPECT_EQ(TempFiles(), std::vector<std::string>{"quorvex.uTMP"});

    // A list of one file always downloads it.
    starts.clear();
    events_.clear();
    PutInfo(InfoText(kNewer, {site_.FileUrl("readme.txt")}));
    CheckAndWaitFor("EndUpgrade");
    EXPECT_EQ(starts, std::vector<std::string>{"readme.txt 5 fetch"});
}

TEST_F(Updater, ADownloadIsNamedAfterTheLastPieceOfItsAddress) {
    site_.PutFile("/files/app.exe", "app");
    PutInfo(InfoText(kNewer, {site_.Url("/files/app.exe")}));
    CheckAndWaitFor("EndUpgrade");
    EXPECT_EQ(updater_.LocalTempName(), ProgramFile("app.exe.uTMP"));
    EXPECT_EQ(ReadProgramFile("app.exe.uTMP"), "app");
}

TEST_F(Updater, AFileThatDoesNotMatchItsHashIsDeletedAndTheRunCancelled) {
    PublishTwoFiles();
    const std::string wrong = platform::Sha256Hex("another program");
    PutInfo(InfoText(kNewer, {site_.FileUrl("quorvex"), site_.FileUrl("readme.txt")},
                     "#sha2561=" + platform::Sha256Hex("new program") + "\r\n#sha2562=" + wrong +
                         "\r\n"));
    CheckAndWaitFor("Aborted");
    EXPECT_EQ(events_,
              (std::vector<std::string>{"FileDone quorvex.uTMP",
                                        "BadFile " + site_.FileUrl("readme.txt"), "Aborted"}));
    EXPECT_TRUE(TempFiles().empty());
    ASSERT_EQ(dialogs_->Of("MessageBox").size(), 1u);
    EXPECT_NE(dialogs_->Calls[0].find("readme.txt does not match"), std::string::npos);
}

TEST_F(Updater, WithAKeyOnlyASignedInformationFileCounts) {
    const platform::Ed25519Key key = platform::GenerateEd25519Key();
    updater_.UpdateKey = platform::Base64Encode(key.PublicKey);
    site_.PutFile("/Quorvex/quorvex", "new program");
    const std::string body = InfoText(kNewer, {site_.FileUrl("quorvex")},
                                      "#sha2561=" + platform::Sha256Hex("new program") + "\r\n");
    const std::string signature =
        "#signature=" + platform::Base64Encode(platform::SignEd25519(key.PrivateKey, body)) +
        "\r\n";
    std::string tampered = body + signature;
    tampered.replace(tampered.find(kNewer), 8, "1.3.3.99");
    const struct {
        const char* what;
        std::string file;
        const char* outcome;
    } cases[] = {
        {"unsigned", body, "NoInfoFile"},
        {"changed", tampered, "NoInfoFile"},
        {"signed", body + signature, "EndUpgrade"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        events_.clear();
        PutInfo(each.file);
        CheckAndWaitFor(each.outcome);
    }
    EXPECT_EQ(ReadProgramFile("quorvex.uTMP"), "new program");
}

TEST_F(Updater, ASignedReleaseIsInstalledWholeOrNotAtAll) {
    const platform::Ed25519Key key = platform::GenerateEd25519Key();
    updater_.UpdateKey = platform::Base64Encode(key.PublicKey);
    site_.PutFile("/Quorvex/quorvex", "new program");
    const std::string body =
        InfoText(kNewer, {site_.FileUrl("quorvex"), site_.FileUrl("missing.bin")},
                 "#sha2561=" + platform::Sha256Hex("new program") +
                     "\r\n#sha2562=" + platform::Sha256Hex("lost") + "\r\n");
    PutInfo(body + "#signature=" +
            platform::Base64Encode(platform::SignEd25519(key.PrivateKey, body)) + "\r\n");
    updater_.ShowMessages = {TupShowMessage::mLostFile};
    dialogs_->YesNoAnswer = true; // "skip this file" would install half the release
    CheckAndWaitFor("Aborted");
    EXPECT_TRUE(dialogs_->Of("AskYesNo").empty());
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_FALSE(HasEvent("EndUpgrade"));
}

TEST_F(Updater, AProgramInAFolderItCannotWriteLeavesTheUpgradeToThePackageManager) {
    PublishTwoFiles();
    updater_.SetExePath("/proc/self/quorvex"); // a folder nobody can create files in
    testing::internal::CaptureStderr();
    CheckAndWaitFor("LaterUpgrade");
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("package manager"), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
    EXPECT_EQ(site_.Requests().size(), 1u);
}

TEST_F(Updater, CancellingDeletesEveryTemporaryFileOfTheFolder) {
    site_.Put(
        "/Quorvex/quorvex",
        Reply::Raw("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nab").Delay(Milliseconds(600000)));
    PutInfo(InfoText(kNewer, {site_.FileUrl("quorvex")}));
    updater_.OnFileStart = [&](TComponent*, const std::string&, std::int32_t, TDateTime, bool&) {
        WriteProgramFile("earlier.bin.uTMP", "left by a broken run");
        events_.push_back("FileStart");
    };
    CheckAndWaitFor("FileStart");
    updater_.CancelUpgrade();
    EXPECT_EQ(events_.back(), "Aborted");
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_EQ(ReadProgramFile("quorvex"), "old program");
}

TEST_F(Updater, TheWizardFollowsTheRunAndItsFinishedPageMayStillAbort) {
    PublishTwoFiles();
    updater_.Wizard.Enabled = true;
    for (const bool abort : {false, true}) {
        SCOPED_TRACE(abort ? "aborted on the finished page" : "closed");
        events_.clear();
        dialogs_->Calls.clear();
        dialogs_->OnFinishedPage = [abort](TupUpdater& updater) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [&updater, abort] {
                    if (abort)
                        updater.CancelUpgrade();
                    else
                        updater.WizardClosed();
                },
                Qt::QueuedConnection);
        };
        CheckAndWaitFor(abort ? "Aborted" : "EndUpgrade");
        const auto& calls = dialogs_->Calls;
        ASSERT_GE(calls.size(), 6u);
        EXPECT_EQ(calls[0], "ShowWizard:");
        EXPECT_EQ(calls[1], "WizardFileStarted: " + site_.FileUrl("quorvex") + " 0 of 2");
        EXPECT_EQ(calls[2], "WizardFileSize: 11");
        EXPECT_EQ(dialogs_->Of("WizardFileStarted").size(), 2u);
        // The whole run's percentage: half for each file.
        const auto progress = dialogs_->Of("WizardProgress");
        EXPECT_NE(std::find(progress.begin(), progress.end(), "WizardProgress: 100 50 0"),
                  progress.end());
        EXPECT_NE(std::find(progress.begin(), progress.end(), "WizardProgress: 100 100 0"),
                  progress.end());
        EXPECT_EQ(dialogs_->Of("ShowWizardFinished").size(), 1u);
        EXPECT_EQ(HasEvent("EndUpgrade"), !abort);
        EXPECT_EQ(TempFiles().empty(), abort);
    }
}

TEST_F(Updater, RestartSettingsAndTheAfterRestartEvent) {
    updater_.SetRestartParams("");
    EXPECT_EQ(updater_.RestartParams(), " ");
    updater_.SetRestartParams("/afterupgrade");
    int restarts = 0;
    updater_.OnAfterRestart = [&](TComponent*) { ++restarts; };
    updater_.Loaded("/AfterUpgrade");
    updater_.Loaded("/afterupgrade0");
    updater_.Loaded("");
    EXPECT_EQ(restarts, 0);
    updater_.Loaded("/afterupgrade");
    EXPECT_EQ(restarts, 1);
}

TEST(UpdaterDefaults, AsANewControllerHasThem) {
    TupUpdater updater;
    EXPECT_FALSE(updater.AutoCheck());
    EXPECT_EQ(updater.AutoCheckDelay, 10000);
    EXPECT_EQ(updater.InfoFileURL, "http://");
    EXPECT_EQ(updater.RestartParams(), "/afterupgrade");
    EXPECT_EQ(updater.OtherFiles, TupOtherFilesBehavior::ofAlwaysDownload);
    EXPECT_EQ(updater.VersionControl, TupVersionControl::byDate);
    EXPECT_TRUE(updater.VersionDateAutoSet());
    EXPECT_TRUE(updater.Wizard.Enabled);
    EXPECT_EQ(updater.ShowMessages,
              (TupShowMessages{TupShowMessage::mAskUpgrade, TupShowMessage::mConnLost,
                               TupShowMessage::mLostFile, TupShowMessage::mPasswordRequest}));
    EXPECT_EQ(updater.CacheOptions,
              (TupCacheOptions{TupCacheOption::coReloadIfNoExpireInformation,
                               TupCacheOption::coReloadUpdatedObjects,
                               TupCacheOption::coCreateTempFilesIfCantCache}));
    EXPECT_EQ(updater.OutputFileAttributes.Incomplete(),
              (TupFileAttributes{TupFileAttribute::atrArchive, TupFileAttribute::atrHidden,
                                 TupFileAttribute::atrTemporary}));
    EXPECT_EQ(updater.ExePath(), fs::read_symlink("/proc/self/exe").string());
}

} // namespace
} // namespace quorvex::test_support

namespace quorvex::test_support {
namespace {

// The new program records the arguments it was started with.
std::string RecordingProgram(const fs::path& record) {
    return "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record.string() + ".tmp'\nmv '" +
           record.string() + ".tmp' '" + record.string() + "'\n";
}

class UpdaterRestart : public UpdaterTest {
protected:
    UpdaterRestart()
        : runtime_(root_ / "runtime")
        , record_(root_ / "started-with") {
        fs::create_directories(runtime_);
        fs::permissions(runtime_, fs::perms::owner_all);
        fs::permissions(ProgramFile("quorvex"),
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
        site_.PutFile("/Quorvex/quorvex", RecordingProgram(record_));
        PutInfo(InfoText("1.3.3.10", {site_.FileUrl("quorvex")}));
        restartNow_ = true;
    }

    void UpgradeAndWaitForTheRestart() {
        updater_.CheckForNewVersion(false);
        ASSERT_TRUE(WaitForEvent("CloseProgram")) << testing::PrintToString(events_);
        ASSERT_TRUE(PumpUntil([&] { return fs::exists(record_); }));
    }

    fs::path runtime_;
    fs::path record_;
};

TEST_F(UpdaterRestart, TheReplacerIsWrittenPrivatelyAndBringsTheProgramBackUpgraded) {
    const ScopedEnvironment runtime("XDG_RUNTIME_DIR", runtime_.string());
    // Whatever another program left at the replacer's place is neither followed nor started.
    const fs::path victim = root_ / "victim";
    std::ofstream(victim) << "not to be touched";
    fs::create_symlink(victim, runtime_ / kReplacerName);

    UpgradeAndWaitForTheRestart();
    std::ifstream record(record_);
    std::string argument;
    std::getline(record, argument);
    EXPECT_EQ(argument, "/afterupgrade");
    EXPECT_EQ(ReadProgramFile("quorvex"), RecordingProgram(record_));
    EXPECT_NE(fs::status(ProgramFile("quorvex")).permissions() & fs::perms::owner_exec,
              fs::perms::none);
    EXPECT_TRUE(TempFiles().empty());
    std::ifstream victimFile(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victimFile), {}), "not to be touched");
    const fs::path replacer = runtime_ / kReplacerName;
    ASSERT_FALSE(fs::is_symlink(replacer));
    EXPECT_EQ(fs::status(replacer).permissions() & fs::perms::all, fs::perms::owner_all);

    TupUpdater nextStart; // the restarted program's controller
    EXPECT_FALSE(fs::exists(fs::symlink_status(replacer)));
}

TEST_F(UpdaterRestart, AProgramInAFolderWithAPlusInItsNameComesBackUpgraded) {
    const ScopedEnvironment runtime("XDG_RUNTIME_DIR", runtime_.string());
    const fs::path folder = root_ / "Quorvex +beta";
    fs::create_directories(folder);
    fs::copy_file(ProgramFile("quorvex"), folder / "quorvex");
    fs::remove(ProgramFile("quorvex"));
    updater_.SetExePath((folder / "quorvex").string());
    // What another user planted where the folder's name before the "+" would point.
    const fs::path planted = root_ / "Quorvex";
    std::ofstream(planted) << "#!/bin/sh\ntouch '" << (root_ / "planted-ran").string() << "'\n";
    fs::permissions(planted, fs::perms::owner_all);
    UpgradeAndWaitForTheRestart();
    std::ifstream program(folder / "quorvex");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(program), {}), RecordingProgram(record_));
    EXPECT_FALSE(fs::exists(root_ / "planted-ran"));
}

TEST_F(UpdaterRestart, WithoutAPrivateRuntimeFolderTheReplacerGetsAFolderOfItsOwn) {
    const ScopedEnvironment runtime("XDG_RUNTIME_DIR", std::nullopt);
    const fs::path temporary = root_ / "tmp";
    fs::create_directories(temporary);
    const ScopedEnvironment tmpdir("TMPDIR", temporary.string());
    UpgradeAndWaitForTheRestart();
    std::vector<fs::path> made;
    for (const auto& entry : fs::directory_iterator(temporary))
        made.push_back(entry.path());
    ASSERT_EQ(made.size(), 1u);
    EXPECT_TRUE(made[0].filename().string().starts_with("Quorvex-replacer-"));
    EXPECT_EQ(fs::status(made[0]).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_TRUE(fs::exists(made[0] / kReplacerName));

    TupUpdater nextStart;
    EXPECT_TRUE(fs::is_empty(temporary));
}

TEST_F(UpdaterRestart, AReplacerThatCannotBeWrittenStopsTheUpgradeAndTheProgramRuns) {
    const ScopedEnvironment runtime("XDG_RUNTIME_DIR", std::nullopt);
    const ScopedEnvironment tmpdir("TMPDIR", "/proc/self"); // nobody can make a folder there
    updater_.CheckForNewVersion(false);
    ASSERT_TRUE(WaitForEvent("EndUpgrade"));
    EXPECT_THAT(dialogs_->Of("MessageBox"),
                testing::ElementsAre(testing::HasSubstr("cannot be finished")));
    EXPECT_FALSE(HasEvent("CloseProgram"));
    EXPECT_EQ(TempFiles(), std::vector<std::string>{"quorvex.uTMP"});
    EXPECT_EQ(ReadProgramFile("quorvex"), "old program");
}

TEST_F(UpdaterRestart, AVersionJustInstalledIsNeverInstalledAgainAndThatIsSaidOnce) {
    const ScopedEnvironment runtime("XDG_RUNTIME_DIR", runtime_.string());
    // The new program keeps running, as a real one does, until its controller below has come
    // up: one that ended at once would have the replacer put the old files back meanwhile.
    site_.PutFile("/Quorvex/quorvex",
                  RecordingProgram(record_) + "exec sleep 10 >/dev/null 2>&1\n");
    UpgradeAndWaitForTheRestart();
    // The restarted program still reports 1.3.3.9.
    TupUpdater restarted;
    restarted.SetExePath(ProgramFile("quorvex"));
    restarted.VersionControl = TupVersionControl::byNumber;
    restarted.VersionNumber = "1.3.3.9";
    restarted.InfoFileURL = updater_.InfoFileURL;
    restarted.OnCloseProgram = [&](TComponent*) { events_.push_back("ClosedAgain"); };
    int noUpdate = 0;
    restarted.OnNoUpdateAvailable = [&](TComponent*) { ++noUpdate; };
    testing::internal::CaptureStderr();
    for (int check = 1; check <= 2; ++check) {
        restarted.CheckForNewVersion(false);
        ASSERT_TRUE(PumpUntil([&] { return noUpdate == check; }));
    }
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.find("1.3.3.10 was installed just now"),
              errors.rfind("1.3.3.10 was installed just now"));
    EXPECT_NE(errors.find("1.3.3.10 was installed just now"), std::string::npos) << errors;
    EXPECT_FALSE(HasEvent("ClosedAgain"));
    EXPECT_TRUE(TempFiles().empty());
}

TEST_F(UpdaterRestart, ARestartWithoutAFinishedUpgradeDeletesTheDownloads) {
    const ScopedEnvironment runtime("XDG_RUNTIME_DIR", runtime_.string());
    WriteProgramFile("half.bin.uTMP", "partial");
    updater_.RestartProgram("/again");
    EXPECT_TRUE(HasEvent("CloseProgram"));
    EXPECT_TRUE(TempFiles().empty());
    EXPECT_TRUE(fs::exists(runtime_ / kReplacerName));
}

} // namespace
} // namespace quorvex::test_support

namespace quorvex::test_support {
namespace {

// Whether this process may have a network of its own (root with the ip tool).
bool CanHaveOwnNetwork() {
    bool can = false;
    // Only the thread that makes a namespace is in it; this one ends right away.
    std::thread([&] {
        can = unshare(CLONE_NEWNET) == 0 && std::system("ip link set lo up") == 0;
    }).join();
    return can;
}

// In a network of its own with only loopback, the machine is offline until a link gets an
// address; the updater's timer must wait for that and then check.
int CheckWhenOnlineInOwnNetwork() {
    if (unshare(CLONE_NEWNET) != 0 || std::system("ip link set lo up") != 0)
        return 2;
    UpdateSite site;
    site.PutFile("/Quorvex/update.inf", "#version=1.3.3.9\r\n#url1=http://h/x\r\n");
    TupUpdater updater;
    updater.Dialogs = std::make_shared<FakeUpdaterDialogs>();
    updater.InfoFileURL = site.FileUrl("update.inf");
    updater.VersionControl = TupVersionControl::byNumber;
    updater.VersionNumber = "1.3.3.9";
    bool checked = false;
    updater.OnNoUpdateAvailable = [&](TComponent*) { checked = true; };
    updater.AutoCheckDelay = 20;
    updater.SetAutoCheck(true);
    PumpFor(Milliseconds(400)); // many ticks, all offline
    if (!site.Requests().empty())
        return 3;
    if (std::system("ip link add qv0 type veth peer name qv1 && ip link set qv0 up && "
                    "ip addr add 192.0.2.77/32 dev qv0") != 0)
        return 4;
    return PumpUntil([&] { return checked; }) && site.Requests().size() == 1 ? 0 : 5;
}

TEST(UpdaterOffline, TheTimerKeepsWaitingWhileOfflineAndChecksOnceOnline) {
    if (!CanHaveOwnNetwork())
        GTEST_SKIP() << "no network namespace of our own here (needs root and the ip tool)";
    EXPECT_EXIT(std::exit(CheckWhenOnlineInOwnNetwork()), testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace quorvex::test_support
