#include "upgrader/upUpdaterWindows.h"

#include "upgrader/upModal.h"
#include "upgrader/upPassword.h"
#include "upgrader/upUpdater.h"
#include "upgrader/upUpgradeMsg.h"
#include "upgrader/upWizard.h"

namespace quorvex {
namespace {

class TUpgraderWindows : public TupUpdaterDialogs {
public:
    void MessageBox(const std::string& Text, unsigned Flags) override {
        UpgraderMessageBox(Text, mb::kOk | Flags);
    }
    bool AskYesNo(const std::string& Text, const std::string& Caption) override {
        return ShowUpgraderMessage(Text, Caption,
                                   mb::kYesNo | mb::kIconWarning | mb::kSystemModal) == mb::kIdYes;
    }
    bool AskUpgrade(const std::string& UpgradeMsg) override {
        return quorvex::AskUpgrade(UpgradeMsg);
    }
    bool AskPassword(TupUpdater& Updater) override { return quorvex::AskPassword(Updater); }
    void ShowWizard(TupUpdater& Updater) override { quorvex::ShowWizard(Updater); }
    bool WizardShown() const override { return WizardForm() != nullptr; }
    void WizardFileStarted(const std::string& URL, int Index, int Count) override {
        WizardForm()->ShowFileStart(URL, Index, Count);
    }
    void WizardFileSize(std::int64_t Bytes) override { WizardForm()->ShowFileSize(Bytes); }
    void WizardProgress(int PercentsDone, int TotalPercentsDone, double TransferRate,
                        int EstimatedTimeLeft) override {
        WizardForm()->ShowProgress(PercentsDone, TotalPercentsDone, TransferRate,
                                   EstimatedTimeLeft);
    }
    void ShowWizardFinished() override { quorvex::ShowWizardFinished(); }
    void DestroyWizard() override { quorvex::DestroyWizard(); }
};

} // namespace

std::shared_ptr<TupUpdaterDialogs> UpgraderWindows() {
    return std::make_shared<TUpgraderWindows>();
}

} // namespace quorvex
