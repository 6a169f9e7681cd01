#pragma once

#include "support/LoopbackHttpServer.h"
#include "support/ScopedEnvironment.h"
#include "upgrader/upUpdater.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace quorvex::test_support {

// The controller's dialogs, recorded one line per call and answered as the test says.
class FakeUpdaterDialogs : public TupUpdaterDialogs {
public:
    void MessageBox(const std::string& Text, unsigned Flags) override;
    bool AskYesNo(const std::string& Text, const std::string& Caption) override;
    bool AskUpgrade(const std::string& UpgradeMsg) override;
    bool AskPassword(TupUpdater& Updater) override;
    void ShowWizard(TupUpdater& Updater) override;
    bool WizardShown() const override { return wizard_; }
    void WizardFileStarted(const std::string& URL, int Index, int Count) override;
    void WizardFileSize(std::int64_t Bytes) override;
    void WizardProgress(int PercentsDone, int TotalPercentsDone, double TransferRate,
                        int EstimatedTimeLeft) override;
    void ShowWizardFinished() override;
    void DestroyWizard() override;

    // The calls of one kind ("MessageBox", "AskYesNo"...), each "Kind: details".
    std::vector<std::string> Of(const std::string& kind) const;

    std::vector<std::string> Calls;
    bool YesNoAnswer = false;
    bool UpgradeAnswer = true;
    // The login the password dialog "enters"; empty: the user cancels.
    std::string PasswordLogin;
    // What the wizard does on its finished page (the user closes it: WizardClosed).
    std::function<void(TupUpdater&)> OnFinishedPage;

private:
    bool wizard_ = false;
    TupUpdater* updater_ = nullptr;
};

// The maker's site for one test: paths mapped to replies; every request recorded.
class UpdateSite : public LoopbackHttpServer {
public:
    UpdateSite();
    ~UpdateSite() override;

    void Put(const std::string& path, Reply reply);
    void PutFile(const std::string& path, const std::string& body,
                 const std::vector<std::string>& headers = {});
    // "http://127.0.0.1:PORT/Quorvex/" + name
    std::string FileUrl(const std::string& name) const { return Url("/Quorvex/" + name); }
    std::vector<std::string> Paths() const;

private:
    Reply Answer(const RecordedRequest& request);

    mutable std::mutex mutex_;
    std::map<std::string, Reply> replies_;
};

// A controller on a program of its own in a fresh folder whose name holds a blank, pointed at
// an update site, with recorded dialogs and the usual outcomes recorded as events.
class UpdaterTest : public testing::Test {
protected:
    UpdaterTest();
    ~UpdaterTest() override;

    std::string ProgramFile(const std::string& name) const;
    void WriteProgramFile(const std::string& name, const std::string& bytes) const;
    std::string ReadProgramFile(const std::string& name) const;
    bool ProgramFileExists(const std::string& name) const;
    std::vector<std::string> TempFiles() const;
    // An information file announcing `version` with these file URLs (url1, url2...).
    static std::string InfoText(const std::string& version, const std::vector<std::string>& urls,
                                const std::string& extra = "");
    void PutInfo(const std::string& text);
    // Waits until the event log holds an entry starting with prefix.
    bool WaitForEvent(const std::string& prefix);
    bool HasEvent(const std::string& prefix) const;

    std::filesystem::path root_;
    std::filesystem::path folder_;
    std::unique_ptr<ScopedEnvironment> config_; // a settings file of the test's own
    UpdateSite site_;
    std::shared_ptr<FakeUpdaterDialogs> dialogs_ = std::make_shared<FakeUpdaterDialogs>();
    TupUpdater updater_;
    std::vector<std::string> events_;
    bool restartNow_ = false; // what OnEndUpgrade answers
};

} // namespace quorvex::test_support
