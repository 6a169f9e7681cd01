#include "support/Pumping.h"
#include "upgrader/DialogTestKit.h"
#include "upgrader/upDialogLook.h"
#include "upgrader/upMessages.h"
#include "upgrader/upWizard.h"

#include <QBuffer>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using test_support::FakeDialogHost;
using test_support::ModalStandIn;
using test_support::PumpUntil;

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}

class WizardTest : public testing::Test {
protected:
    WizardTest() { SetUpgraderLanguage(TupLanguage::wlEnglish); }
    ~WizardTest() override {
        DestroyWizard();
        test_support::PumpFor(10ms);
        SetUpgraderLanguage(TupLanguage::wlAuto);
    }

    TupWizardForm& Open() {
        ShowWizard(host_);
        EXPECT_NE(WizardForm(), nullptr);
        return *WizardForm();
    }

    // Waits until the wizard asked its question, or closed, after a queued close.
    bool Asked(std::size_t boxes) {
        return PumpUntil([&] { return modals_.Boxes.size() >= boxes; }, 10s);
    }

    ModalStandIn modals_;
    FakeDialogHost host_;
};

TEST_F(WizardTest, OpensWithTheDownloadTextsAndLayout) {
    TupWizardForm& wizard = Open();
    EXPECT_TRUE(wizard.isVisible());
    EXPECT_FALSE(wizard.isModal());
    EXPECT_EQ(wizard.size(), QSize(463, 281));
    EXPECT_EQ(wizard.windowTitle().toStdString(), "Application update wizard");
    EXPECT_EQ(Text(wizard.WizardTitle), "Downloading files...");
    EXPECT_EQ(wizard.LCurrentFile->title().toStdString(), " Current file ");
    EXPECT_EQ(wizard.LAllFiles->title().toStdString(), " All files ");
    EXPECT_EQ(Text(wizard.LDownloadingFileFrom), "Downloading file from");
    EXPECT_EQ(Text(wizard.LEstimatedTime), "Preparing. . .");
    EXPECT_EQ(Text(wizard.AboutLabel), " Quorvex Updater ");
    EXPECT_EQ(Text(wizard.AboutShadow), " Quorvex Updater ");
    EXPECT_EQ(wizard.AboutShadow->pos() - wizard.AboutLabel->pos(), QPoint(1, 1));
    EXPECT_EQ(wizard.FinishBtn->text().toStdString(), "&Next >");
    EXPECT_FALSE(wizard.FinishBtn->isEnabled());
    EXPECT_EQ(wizard.CancelBtn->text().toStdString(), "&Cancel");
    EXPECT_TRUE(wizard.CancelBtn->isDefault());
    EXPECT_TRUE(wizard.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(wizard.Panel1->geometry(), QRect(10, 10, 120, 220));
    EXPECT_EQ(wizard.Image1->size(), QSize(118, 218));
    EXPECT_EQ(wizard.LCurrentFile->geometry(), QRect(136, 34, 319, 125));
    EXPECT_EQ(wizard.LAllFiles->geometry(), QRect(136, 162, 319, 67));
    EXPECT_EQ(wizard.FileURL->geometry(), QRect(10, 28, 301, 13));
    EXPECT_EQ(wizard.ProgressCurrentFile->geometry(), QRect(6, 96, 307, 22));
    EXPECT_EQ(wizard.ProgressAllFiles->geometry(), QRect(6, 38, 307, 22));
    EXPECT_EQ(wizard.FinishBtn->geometry(), QRect(296, 248, 75, 25));
    EXPECT_EQ(wizard.CancelBtn->geometry(), QRect(380, 248, 75, 25));
    EXPECT_FALSE(wizard.Image1->pixmap().isNull());
    EXPECT_FALSE(wizard.windowIcon().isNull());
}

TEST_F(WizardTest, OptionsHideTheAddressKeepItFloatingAndReplaceThePicture) {
    host_.Options.HideFileLocation = true;
    host_.Options.StayOnTop = false;
    QImage red(118, 218, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");
    host_.Options.SidePicture = png.toStdString();
    TupWizardForm& wizard = Open();
    EXPECT_FALSE(wizard.FileURL->isVisible());
    EXPECT_FALSE(wizard.LDownloadingFileFrom->isVisible());
    EXPECT_EQ(wizard.LFileSize->y(), 14);
    EXPECT_EQ(wizard.LTransferRate->y(), 30);
    EXPECT_EQ(wizard.LEstimatedTime->y(), 46);
    EXPECT_EQ(wizard.ProgressCurrentFile->y(), 66);
    EXPECT_EQ(wizard.LCurrentFile->geometry(), QRect(136, 44, 319, 95));
    EXPECT_FALSE(wizard.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(wizard.Image1->pixmap().toImage().pixelColor(50, 50), QColor(Qt::red));

    ShowWizard(host_); // a second showing moves nothing again
    EXPECT_EQ(WizardForm(), &wizard);
    EXPECT_EQ(wizard.LFileSize->y(), 14);
    EXPECT_EQ(wizard.LCurrentFile->geometry(), QRect(136, 44, 319, 95));
}

TEST_F(WizardTest, APictureThatDoesNotDecodeKeepsTheBuiltInOne) {
    host_.Options.SidePicture = "not a picture";
    TupWizardForm& wizard = Open();
    EXPECT_EQ(wizard.Image1->pixmap().toImage(), BuiltInSidePicture().toImage());
}

TEST_F(WizardTest, TheControllersLinesReadAsTheTableWritesThem) {
    TupWizardForm& wizard = Open();
    wizard.ShowFileStart("http://example.com/Quorvex/quorvex", 0, 3);
    wizard.ShowFileSize(1536);
    wizard.ShowProgress(40, 13, 12.26, 90061);
    EXPECT_EQ(wizard.FileURL->text().toStdString(), "http://example.com/Quorvex/quorvex");
    EXPECT_EQ(Text(wizard.AllDownloading), "Downloading 1 of 3");
    EXPECT_EQ(Text(wizard.LFileSize), "File size: 1.5 Kb");
    EXPECT_EQ(Text(wizard.LTransferRate), "Transfer rate: 12.3 Kb/s");
    EXPECT_EQ(Text(wizard.LEstimatedTime), "Estimated time left: 25:01:01");
    EXPECT_EQ(wizard.ProgressCurrentFile->value(), 40);
    EXPECT_EQ(wizard.ProgressAllFiles->value(), 13);
    wizard.ShowProgress(100, 100, 0, 59);
    EXPECT_EQ(Text(wizard.LEstimatedTime), "Estimated time left: 0:00:59");
    EXPECT_EQ(Text(wizard.LTransferRate), "Transfer rate: 0.0 Kb/s");
}

TEST_F(WizardTest, TheAddressCanBeSelectedButNotChanged) {
    TupWizardForm& wizard = Open();
    wizard.ShowFileStart("http://h/file", 1, 2);
    QTest::keyClicks(wizard.FileURL, "typed");
    QTest::keyClick(wizard.FileURL, Qt::Key_Backspace);
    EXPECT_EQ(wizard.FileURL->text().toStdString(), "http://h/file");
    wizard.FileURL->selectAll();
    EXPECT_EQ(wizard.FileURL->selectedText().toStdString(), "http://h/file");
    EXPECT_EQ(wizard.FileURL->focusPolicy(), Qt::ClickFocus);
}

TEST_F(WizardTest, CancelEscEnterAndTheCloseBoxAllAskBeforeAbandoning) {
    const struct {
        const char* Name;
        std::function<void(TupWizardForm&)> Act;
    } ways[] = {
        {"Cancel", [](TupWizardForm& w) { QTest::mouseClick(w.CancelBtn, Qt::LeftButton); }},
        {"Esc", [](TupWizardForm& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"Enter", [](TupWizardForm& w) { QTest::keyClick(&w, Qt::Key_Return); }},
        {"CloseBox", [](TupWizardForm& w) { w.close(); }},
    };
    for (const auto& way : ways) {
        modals_.Boxes.clear();
        TupWizardForm& wizard = Open();
        modals_.Answers = {mb::kIdNo};
        way.Act(wizard);
        ASSERT_TRUE(Asked(1)) << way.Name;
        EXPECT_EQ(modals_.Boxes[0].Text,
                  "The update is not completed.\nWould you like to abort upgrading?");
        EXPECT_EQ(modals_.Boxes[0].Caption, "Virovedezori");
        EXPECT_EQ(modals_.Boxes[0].Flags, mb::kYesNo | mb::kIconQuestion);
        EXPECT_EQ(modals_.Boxes[0].Owner, &wizard) << "a box behind the wizard stays unseen";
        EXPECT_EQ(WizardForm(), &wizard) << way.Name;
        EXPECT_TRUE(wizard.isVisible()) << way.Name;
        EXPECT_EQ(host_.Closed + host_.Cancelled, 0) << way.Name;

        modals_.Answers = {mb::kIdYes};
        way.Act(wizard);
        ASSERT_TRUE(Asked(2)) << way.Name;
        EXPECT_EQ(WizardForm(), nullptr) << way.Name;
        EXPECT_EQ(host_.Closed, 1) << way.Name;
        EXPECT_EQ(host_.Cancelled, 1) << way.Name;
        host_.Closed = host_.Cancelled = 0;
        test_support::PumpFor(10ms);
    }
}

TEST_F(WizardTest, TheFinishedPageClosesOnOKWithoutAsking) {
    TupWizardForm& wizard = Open();
    ShowWizardFinished();
    EXPECT_EQ(Text(wizard.WizardTitle), "Upgrade completed!");
    EXPECT_EQ(Text(wizard.AfterNote), "The update of Virovedezori has been successfully "
                                      "completed.\n\nPress the OK button to restart program.");
    EXPECT_TRUE(wizard.AfterNote->isVisible());
    EXPECT_EQ(wizard.AfterNote->geometry().topLeft(), QPoint(136, 44));
    EXPECT_EQ(wizard.AfterNote->width(), 319);
    EXPECT_FALSE(wizard.LCurrentFile->isVisible());
    EXPECT_FALSE(wizard.LAllFiles->isVisible());
    EXPECT_FALSE(wizard.CancelBtn->isEnabled());
    EXPECT_TRUE(wizard.FinishBtn->isEnabled());
    EXPECT_EQ(wizard.FinishBtn->text().toStdString(), "&OK");

    QTest::keyClick(&wizard, Qt::Key_Escape);
    test_support::PumpFor(20ms);
    EXPECT_TRUE(modals_.Boxes.empty());
    EXPECT_EQ(WizardForm(), &wizard);

    QTest::mouseClick(wizard.FinishBtn, Qt::LeftButton);
    EXPECT_TRUE(modals_.Boxes.empty());
    EXPECT_EQ(WizardForm(), nullptr);
    EXPECT_EQ(host_.Closed, 1);
    EXPECT_EQ(host_.Cancelled, 0);
}

TEST_F(WizardTest, TheCloseBoxOnTheFinishedPageStillAsksAndCancels) {
    TupWizardForm& wizard = Open();
    ShowWizardFinished();
    modals_.Answers = {mb::kIdYes};
    wizard.close();
    ASSERT_EQ(modals_.Boxes.size(), 1u);
    EXPECT_EQ(WizardForm(), nullptr);
    EXPECT_EQ(host_.Closed, 1);
    EXPECT_EQ(host_.Cancelled, 1);
}

TEST_F(WizardTest, DestroyingTheWizardTellsTheControllerNothing) {
    Open();
    DestroyWizard();
    EXPECT_EQ(WizardForm(), nullptr);
    test_support::PumpFor(10ms);
    EXPECT_TRUE(modals_.Boxes.empty());
    EXPECT_EQ(host_.Closed + host_.Cancelled, 0);
    ShowWizardFinished(); // no wizard: nothing happens
    DestroyWizard();
}

} // namespace
} // namespace quorvex
