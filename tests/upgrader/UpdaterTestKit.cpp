#include "upgrader/UpdaterTestKit.h"

#include "support/Pumping.h"

#include <fstream>
#include <sstream>
#include <unistd.h>

namespace quorvex::test_support {
namespace fs = std::filesystem;

void FakeUpdaterDialogs::MessageBox(const std::string& Text, unsigned Flags) {
    Calls.push_back("MessageBox: " + std::to_string(Flags) + " " + Text);
}

bool FakeUpdaterDialogs::AskYesNo(const std::string& Text, const std::string& Caption) {
    Calls.push_back("AskYesNo: " + Caption + " | " + Text);
    return YesNoAnswer;
}

bool FakeUpdaterDialogs::AskUpgrade(const std::string& UpgradeMsg) {
    Calls.push_back("AskUpgrade: " + UpgradeMsg);
    return UpgradeAnswer;
}

bool FakeUpdaterDialogs::AskPassword(TupUpdater& Updater) {
    Calls.push_back("AskPassword: " + Updater.CurrentFileName());
    if (PasswordLogin.empty())
        return false;
    const auto colon = PasswordLogin.find(':');
    Updater.HTTPUsername = PasswordLogin.substr(0, colon);
    Updater.HTTPPassword = PasswordLogin.substr(colon + 1);
    return true;
}

void FakeUpdaterDialogs::ShowWizard(TupUpdater& Updater) {
    Calls.push_back("ShowWizard:");
    wizard_ = true;
    updater_ = &Updater;
}

void FakeUpdaterDialogs::WizardFileStarted(const std::string& URL, int Index, int Count) {
    Calls.push_back("WizardFileStarted: " + URL + " " + std::to_string(Index) + " of " +
                    std::to_string(Count));
}

void FakeUpdaterDialogs::WizardFileSize(std::int64_t Bytes) {
    Calls.push_back("WizardFileSize: " + std::to_string(Bytes));
}

void FakeUpdaterDialogs::WizardProgress(int PercentsDone, int TotalPercentsDone, double,
                                        int EstimatedTimeLeft) {
    Calls.push_back("WizardProgress: " + std::to_string(PercentsDone) + " " +
                    std::to_string(TotalPercentsDone) + " " + std::to_string(EstimatedTimeLeft));
}

void FakeUpdaterDialogs::ShowWizardFinished() {
    Calls.push_back("ShowWizardFinished:");
    if (OnFinishedPage)
        OnFinishedPage(*updater_);
}

void FakeUpdaterDialogs::DestroyWizard() {
    Calls.push_back("DestroyWizard:");
    wizard_ = false;
}

std::vector<std::string> FakeUpdaterDialogs::Of(const std::string& kind) const {
    std::vector<std::string> calls;
    for (const auto& call : Calls)
        if (call.starts_with(kind + ":"))
            calls.push_back(call);
    return calls;
}

UpdateSite::UpdateSite()
    : LoopbackHttpServer([this](const RecordedRequest& request) { return Answer(request); }) {}

UpdateSite::~UpdateSite() {
    Stop();
}

void UpdateSite::Put(const std::string& path, Reply reply) {
    const std::lock_guard lock(mutex_);
    replies_.insert_or_assign(path, std::move(reply));
}

void UpdateSite::PutFile(const std::string& path, const std::string& body,
                         const std::vector<std::string>& headers) {
    Put(path, Reply::WithBody(200, "OK", body, headers));
}

std::vector<std::string> UpdateSite::Paths() const {
    std::vector<std::string> paths;
    for (const auto& request : Requests())
        paths.push_back(request.Path());
    return paths;
}

Reply UpdateSite::Answer(const RecordedRequest& request) {
    const std::lock_guard lock(mutex_);
    const auto found = replies_.find(request.Path());
    if (found == replies_.end())
        return Reply::WithBody(404, "Not Found", "no such file");
    return found->second;
}

UpdaterTest::UpdaterTest() {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY", "no_proxy"})
        unsetenv(name);
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() /
            ("quorvex-updater-" + std::to_string(getpid()) + "-" + info->name());
    fs::remove_all(root_);
    folder_ = root_ / "program folder";
    fs::create_directories(folder_);
    config_ = std::make_unique<ScopedEnvironment>("XDG_CONFIG_HOME", (root_ / "config").string());
    WriteProgramFile("quorvex", "old program");
    updater_.SetExePath(ProgramFile("quorvex"));
    updater_.Dialogs = dialogs_;
    updater_.VersionControl = TupVersionControl::byNumber;
    updater_.VersionNumber = "1.3.3.9";
    updater_.InfoFileURL = site_.FileUrl("update.inf");
    updater_.Wizard.Enabled = false;
    updater_.ShowMessages = {};
    const auto record = [this](const std::string& entry) { events_.push_back(entry); };
    updater_.OnNoInfoFile = [=](TComponent*) { record("NoInfoFile"); };
    updater_.OnNoUpdateAvailable = [=](TComponent*) { record("NoUpdateAvailable"); };
    updater_.OnLaterUpgrade = [=](TComponent*) { record("LaterUpgrade"); };
    updater_.OnAborted = [=](TComponent*) { record("Aborted"); };
    updater_.OnConnLost = [=](TComponent*) { record("ConnLost"); };
    updater_.OnCloseProgram = [=](TComponent*) { record("CloseProgram"); };
    updater_.OnHostUnreachable = [=](TComponent*, const std::string&, const std::string& host) {
        record("HostUnreachable " + host);
    };
    updater_.OnFileDone = [=](TComponent*, const std::string& name) {
        record("FileDone " + fs::path(name).filename().string());
    };
    updater_.OnLostFile = [=](TComponent*, const std::string& url, int code, bool&) {
        record("LostFile " + std::to_string(code) + " " + url);
    };
    updater_.OnBadFile = [=](TComponent*, const std::string& url) { record("BadFile " + url); };
    updater_.OnEndUpgrade = [this](TComponent*, bool& RestartNow) {
        events_.push_back("EndUpgrade");
        RestartNow = restartNow_;
    };
}

UpdaterTest::~UpdaterTest() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string UpdaterTest::ProgramFile(const std::string& name) const {
    return (folder_ / name).string();
}

void UpdaterTest::WriteProgramFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
}

std::string UpdaterTest::ReadProgramFile(const std::string& name) const {
    std::ifstream file(folder_ / name, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

bool UpdaterTest::ProgramFileExists(const std::string& name) const {
    return fs::exists(folder_ / name);
}

std::vector<std::string> UpdaterTest::TempFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
        if (entry.path().extension() == ".uTMP")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string UpdaterTest::InfoText(const std::string& version, const std::vector<std::string>& urls,
                                  const std::string& extra) {
    std::string text = "; the release\r\n#version=" + version + "\r\n";
    for (std::size_t i = 0; i < urls.size(); ++i)
        text += "#url" + std::to_string(i + 1) + "=" + urls[i] + "\r\n";
    return text + extra;
}

void UpdaterTest::PutInfo(const std::string& text) {
    site_.PutFile("/Quorvex/update.inf", text);
}

bool UpdaterTest::HasEvent(const std::string& prefix) const {
    return std::any_of(events_.begin(), events_.end(),
                       [&](const std::string& entry) { return entry.starts_with(prefix); });
}

bool UpdaterTest::WaitForEvent(const std::string& prefix) {
    return PumpUntil([&] { return HasEvent(prefix); });
}

} // namespace quorvex::test_support
