#include "support/Pumping.h"
#include "upgrader/DialogTestKit.h"
#include "upgrader/upDialogLook.h"
#include "upgrader/upMessages.h"
#include "upgrader/upPassword.h"
#include "upgrader/upUpgradeMsg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRawFont>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using test_support::FakeDialogHost;
using test_support::ModalStandIn;

class UpgradeDialogsTest : public testing::Test {
protected:
    UpgradeDialogsTest() { SetUpgraderLanguage(TupLanguage::wlEnglish); }
    ~UpgradeDialogsTest() override { SetUpgraderLanguage(TupLanguage::wlAuto); }

    ModalStandIn modals_;
    FakeDialogHost host_;
};

std::string Text(const QLabel* label) {
    return label->text().toStdString();
}

TEST_F(UpgradeDialogsTest, UpgradeMessageFramesTheMessageAndFitsItsHeight) {
    std::string label, caption, yes, later;
    QRect labelGeometry, panelGeometry, yesGeometry;
    QSize client;
    bool topmost = false;
    modals_.OnDialog = [&](QDialog& dialog) {
        auto& form = static_cast<TupUpgradeMessageForm&>(dialog);
        EXPECT_EQ(UpgradeMessageForm(), &form);
        label = Text(form.Label1);
        caption = form.windowTitle().toStdString();
        yes = form.YesBtn->text().toStdString();
        later = form.LaterBtn->text().toStdString();
        labelGeometry = form.Label1->geometry();
        panelGeometry = form.BottomPanel->geometry();
        yesGeometry = form.YesBtn->geometry();
        client = form.size();
        topmost = form.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(form.YesBtn->isDefault());
        return QDialog::Rejected;
    };
    EXPECT_FALSE(AskUpgrade("Faster lookups."));
    EXPECT_EQ(UpgradeMessageForm(), nullptr);
    EXPECT_EQ(label, "A newer version of Virovedezori was released.\n\nFaster lookups.\n\nDo you "
                     "want to update your version with the latest one?");
    EXPECT_EQ(caption, "Application update wizard");
    EXPECT_EQ(yes, "&Yes");
    EXPECT_EQ(later, "&Later");
    EXPECT_TRUE(topmost);
    EXPECT_EQ(labelGeometry.topLeft(), QPoint(45, 5));
    EXPECT_EQ(labelGeometry.width(), 318 - 45 - 11);
    EXPECT_EQ(client.width(), 318);
    EXPECT_EQ(client.height(), 5 + labelGeometry.height() + 45);
    EXPECT_EQ(panelGeometry, QRect(0, client.height() - 45, 318, 45));
    EXPECT_EQ(yesGeometry, QRect(78, 13, 75, 23));

    const int shortHeight = client.height();
    AskUpgrade(std::string(400, 'x') + " and more words to wrap over several lines");
    EXPECT_GT(client.height(), shortHeight);
}

TEST_F(UpgradeDialogsTest, AnEmptyUpgradeMessageLeavesAnEmptyMiddleLine) {
    std::string label;
    modals_.OnDialog = [&](QDialog& dialog) {
        label = Text(static_cast<TupUpgradeMessageForm&>(dialog).Label1);
        return QDialog::Rejected;
    };
    AskUpgrade("");
    EXPECT_EQ(label, "A newer version of Virovedezori was released.\n\nDo you want to update "
                     "your version with the latest one?");
}

TEST_F(UpgradeDialogsTest, OnlyYesAnswersYes) {
    const struct {
        const char* Name;
        std::function<void(TupUpgradeMessageForm&)> Act;
        bool Expected;
    } cases[] = {
        {"Yes", [](TupUpgradeMessageForm& f) { QTest::mouseClick(f.YesBtn, Qt::LeftButton); },
         true},
        {"Enter", [](TupUpgradeMessageForm& f) { QTest::keyClick(&f, Qt::Key_Return); }, true},
        {"Later", [](TupUpgradeMessageForm& f) { QTest::mouseClick(f.LaterBtn, Qt::LeftButton); },
         false},
        {"Esc", [](TupUpgradeMessageForm& f) { QTest::keyClick(&f, Qt::Key_Escape); }, false},
        {"CloseBox", [](TupUpgradeMessageForm& f) { f.close(); }, false},
    };
    for (const auto& c : cases) {
        modals_.OnDialog = [&](QDialog& dialog) {
            c.Act(static_cast<TupUpgradeMessageForm&>(dialog));
            return dialog.result();
        };
        EXPECT_EQ(AskUpgrade("m"), c.Expected) << c.Name;
    }
}

TEST_F(UpgradeDialogsTest, AMessageFromTheServerIsShownAsPlainText) {
    std::string label;
    Qt::TextFormat format = Qt::AutoText;
    modals_.OnDialog = [&](QDialog& dialog) {
        const auto& form = static_cast<TupUpgradeMessageForm&>(dialog);
        label = Text(form.Label1);
        format = form.Label1->textFormat();
        return QDialog::Rejected;
    };
    AskUpgrade("<b>bold</b> & <a href=x>link</a>");
    EXPECT_NE(label.find("<b>bold</b> & <a href=x>link</a>"), std::string::npos);
    EXPECT_EQ(format, Qt::PlainText);
}

TEST_F(UpgradeDialogsTest, ChineseTextsShowInAFontThatHoldsTheirGlyphs) {
    SetUpgraderLanguage(TupLanguage::wlChineseSimplified);
    std::string label, yes;
    QFont font;
    modals_.OnDialog = [&](QDialog& dialog) {
        const auto& form = static_cast<TupUpgradeMessageForm&>(dialog);
        label = Text(form.Label1);
        yes = form.YesBtn->text().toStdString();
        font = form.Label1->font();
        return QDialog::Rejected;
    };
    AskUpgrade("更快");
    EXPECT_EQ(label, "Virovedezori已经有新版本推出，\n\n更快\n\n您要升级到新版本吗？");
    EXPECT_EQ(yes, "[&Y]是");
    const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
    EXPECT_TRUE(raw.supportsCharacter(U'升')) << raw.familyName().toStdString();
}

TEST_F(UpgradeDialogsTest, PasswordDialogAsksForTheFileAndStoresTheLogin) {
    host_.FileName = "setup.exe";
    host_.LoginData.HTTPUsername = "known";
    host_.LoginData.HTTPPassword = "old";
    std::string label, caption, userLabel, passwordLabel, user, password, ok, cancel;
    QRect labelGeometry, panelGeometry, userEdit, okGeometry;
    QSize client;
    modals_.OnDialog = [&](QDialog& dialog) {
        auto& form = static_cast<TupPasswordForm&>(dialog);
        EXPECT_EQ(PasswordForm(), &form);
        label = Text(form.Label1);
        caption = form.windowTitle().toStdString();
        userLabel = Text(form.UsernameLab);
        passwordLabel = Text(form.PasswordLab);
        user = form.UsernameEdit->text().toStdString();
        password = form.PasswordEdit->text().toStdString();
        ok = form.OKBtn->text().toStdString();
        cancel = form.CancelBtn->text().toStdString();
        labelGeometry = form.Label1->geometry();
        panelGeometry = form.BottomPanel->geometry();
        userEdit = form.UsernameEdit->geometry();
        okGeometry = form.OKBtn->geometry();
        client = form.size();
        EXPECT_EQ(form.PasswordEdit->echoMode(), QLineEdit::Password);
        EXPECT_EQ(form.PasswordEdit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter,
                                                        nullptr, form.PasswordEdit),
                  '*');
        form.UsernameEdit->setText("user");
        QTest::keyClicks(form.PasswordEdit, "secret");
        QTest::mouseClick(form.OKBtn, Qt::LeftButton);
        return dialog.result();
    };
    EXPECT_TRUE(AskPassword(host_));
    EXPECT_EQ(PasswordForm(), nullptr);
    EXPECT_EQ(label, "Access to remote file \"setup.exe\" is password protected.\n\nPlease enter "
                     "your username and password (received after registration) to continue "
                     "software upgrade.");
    EXPECT_EQ(caption, "Enter password");
    EXPECT_EQ(userLabel, "User Name");
    EXPECT_EQ(passwordLabel, "Password");
    EXPECT_EQ(user, "known");
    EXPECT_EQ(password, "");
    EXPECT_EQ(ok, "&OK");
    EXPECT_EQ(cancel, "&Cancel");
    EXPECT_EQ(labelGeometry.topLeft(), QPoint(45, 5));
    EXPECT_EQ(labelGeometry.width(), 297 - 45 - 18);
    EXPECT_EQ(client, QSize(297, 5 + labelGeometry.height() + 98));
    EXPECT_EQ(panelGeometry, QRect(0, client.height() - 98, 297, 98));
    EXPECT_EQ(userEdit, QRect(122, 10, 157, 21));
    EXPECT_EQ(okGeometry, QRect(114, 68, 75, 23));
    EXPECT_EQ(host_.LoginData.HTTPUsername, "user");
    EXPECT_EQ(host_.LoginData.HTTPPassword, "secret");
}

TEST_F(UpgradeDialogsTest, PasswordDialogWithoutOKLeavesTheLoginAlone) {
    host_.LoginData.HTTPUsername = "known";
    host_.LoginData.HTTPPassword = "old";
    const std::function<void(TupPasswordForm&)> ways[] = {
        [](TupPasswordForm& f) { QTest::mouseClick(f.CancelBtn, Qt::LeftButton); },
        [](TupPasswordForm& f) { QTest::keyClick(&f, Qt::Key_Escape); },
        [](TupPasswordForm& f) { f.close(); },
    };
    for (const auto& way : ways) {
        modals_.OnDialog = [&](QDialog& dialog) {
            auto& form = static_cast<TupPasswordForm&>(dialog);
            form.UsernameEdit->setText("typed");
            form.PasswordEdit->setText("typed");
            way(form);
            return dialog.result();
        };
        EXPECT_FALSE(AskPassword(host_));
        EXPECT_EQ(host_.LoginData.HTTPUsername, "known");
        EXPECT_EQ(host_.LoginData.HTTPPassword, "old");
    }
}

TEST_F(UpgradeDialogsTest, AWindowThatStaysOnTopIsNoticedByTheOthers) {
    QDialog dialog;
    EXPECT_FALSE(AnotherWindowStaysOnTop(dialog));
    QWidget onTop;
    onTop.setWindowFlag(Qt::WindowStaysOnTopHint);
    onTop.show();
    EXPECT_TRUE(AnotherWindowStaysOnTop(dialog));
    EXPECT_FALSE(AnotherWindowStaysOnTop(onTop));
    onTop.hide();
    EXPECT_FALSE(AnotherWindowStaysOnTop(dialog));
}

TEST_F(UpgradeDialogsTest, UpgraderMessageBoxIsCaptionedWithEntryZero) {
    modals_.Answers = {mb::kIdOk};
    EXPECT_EQ(UpgraderMessageBox("Connection lost", mb::kIconError | mb::kOk), mb::kIdOk);
    SetUpgraderLanguage(TupLanguage::wlChineseSimplified);
    UpgraderMessageBox("x", mb::kIconInformation);
    ASSERT_EQ(modals_.Boxes.size(), 2u);
    EXPECT_EQ(modals_.Boxes[0].Caption, "Application update wizard");
    EXPECT_EQ(modals_.Boxes[0].Text, "Connection lost");
    EXPECT_EQ(modals_.Boxes[0].Flags, 16u);
    EXPECT_EQ(modals_.Boxes[1].Caption, "软件升级精灵");
    EXPECT_EQ(modals_.Boxes[1].Flags, 64u);
}

} // namespace
} // namespace quorvex
