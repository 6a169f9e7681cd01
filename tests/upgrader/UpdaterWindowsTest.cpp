// The controller with the upgrader's real windows: message boxes through the modal seam, the
// wizard as a real (offscreen) window.
#include "support/Pumping.h"
#include "upgrader/UpdaterTestKit.h"
#include "upgrader/upMessages.h"
#include "upgrader/upModal.h"
#include "upgrader/upUpdaterWindows.h"
#include "upgrader/upWizard.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace quorvex::test_support {
namespace {

class UpdaterWindows : public UpdaterTest {
protected:
    UpdaterWindows() {
        updater_.Dialogs = UpgraderWindows();
        updater_.Wizard.SetLanguage(TupLanguage::wlEnglish);
        UpgraderModals().MessageBox = [this](const TupMessageBoxRequest& request) {
            boxes_.push_back(request);
            return answer_;
        };
    }
    ~UpdaterWindows() override { RestoreUpgraderModals(); }

    std::vector<TupMessageBoxRequest> boxes_;
    int answer_ = mb::kIdYes;
};

TEST_F(UpdaterWindows, TheMissingFileQuestionIsASystemModalYesNoBoxWithTheStatus) {
    site_.PutFile("/Quorvex/readme.txt", "notes");
    PutInfo(InfoText("1.3.3.10", {site_.FileUrl("gone.bin"), site_.FileUrl("readme.txt")}));
    updater_.ShowMessages = {TupShowMessage::mLostFile, TupShowMessage::mConnLost};
    updater_.CheckForNewVersion(false);
    ASSERT_TRUE(WaitForEvent("EndUpgrade"));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Caption, "Error #404");
    EXPECT_EQ(boxes_[0].Text, UpgraderFormat(upmsg::kLostFile, {"gone.bin"}));
    EXPECT_EQ(boxes_[0].Flags, mb::kYesNo | mb::kIconWarning | mb::kSystemModal);
    EXPECT_EQ(ReadProgramFile("readme.txt.uTMP"), "notes");
}

TEST_F(UpdaterWindows, AnErrorBoxCarriesTheUpgradersCaption) {
    site_.Put("/Quorvex/update.inf", Reply::WithBody(404, "Not Found", "gone"));
    updater_.ShowMessages = {TupShowMessage::mNoInfoFile};
    updater_.CheckForNewVersion(false);
    ASSERT_TRUE(WaitForEvent("NoInfoFile"));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].Caption, UpgraderText(upmsg::kCaption));
    EXPECT_EQ(boxes_[0].Flags, mb::kOk | mb::kIconError);
}

TEST_F(UpdaterWindows, TheWizardShowsTheRunAndItsFinishButtonEndsTheWait) {
    site_.PutFile("/Quorvex/quorvex", std::string(50000, 'n'));
    PutInfo(InfoText("1.3.3.10", {site_.FileUrl("quorvex")}));
    updater_.Wizard.Enabled = true;
    bool finishedPageSeen = false;
    updater_.OnFileDone = [&](TComponent*, const std::string&) {
        // Once the last file is in, the wizard turns to its finished page; press its button.
        QTimer::singleShot(0, [&] {
            TupWizardForm* wizard = WizardForm();
            ASSERT_NE(wizard, nullptr);
            finishedPageSeen = wizard->FinishBtn->isEnabled();
            EXPECT_EQ(wizard->ProgressCurrentFile->value(), 100);
            EXPECT_EQ(wizard->ProgressAllFiles->value(), 100);
            wizard->FinishBtnClick();
        });
    };
    updater_.CheckForNewVersion(false);
    ASSERT_TRUE(WaitForEvent("EndUpgrade"));
    EXPECT_TRUE(finishedPageSeen);
    EXPECT_TRUE(PumpUntil([] { return WizardForm() == nullptr; }));
}

} // namespace
} // namespace quorvex::test_support
