// Every table's texts fit the fixed places the dialogs give them: nothing cut off, nothing
// running into the next control.
#include "upgrader/DialogTestKit.h"
#include "upgrader/upMessages.h"
#include "upgrader/upPassword.h"
#include "upgrader/upUpgradeMsg.h"
#include "upgrader/upWizard.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using test_support::FakeDialogHost;
using test_support::ModalStandIn;

inline constexpr int kButtonPadding = 8;
inline constexpr int kGroupTitleRoom = 319 - 16;

int TextWidth(const QWidget* widget, QString text) {
    return widget->fontMetrics().horizontalAdvance(text.remove('&'));
}

void ExpectButtonFits(const QPushButton* button, const std::string& where) {
    EXPECT_LE(TextWidth(button, button->text()) + kButtonPadding, button->width())
        << where << ": " << button->text().toStdString();
}

void ExpectLineFits(const QLabel* label, const std::string& where) {
    EXPECT_LE(TextWidth(label, label->text()), label->width())
        << where << ": " << label->text().toStdString();
}

class TextFitTest : public testing::TestWithParam<TupLanguageTable> {
protected:
    TextFitTest() { SetUpgraderLanguage(GetParam().Language); }
    ~TextFitTest() override {
        DestroyWizard();
        SetUpgraderLanguage(TupLanguage::wlAuto);
    }

    std::string Where(const char* place) const {
        return std::string(GetParam().TableName) + " " + place;
    }

    ModalStandIn modals_;
    FakeDialogHost host_;
};

TEST_P(TextFitTest, WizardTextsFit) {
    ShowWizard(host_);
    TupWizardForm& wizard = *WizardForm();
    wizard.ShowFileStart("http://example.com/Quorvex/quorvex", 9, 10);
    wizard.ShowFileSize(99999 * 1024 + 900);
    wizard.ShowProgress(50, 95, 999.9, 99 * 3600 + 59 * 60 + 59);
    EXPECT_LE(wizard.WizardTitle->geometry().right(), wizard.width() - 4) << Where("title");
    for (const QLabel* line : {wizard.LDownloadingFileFrom, wizard.LFileSize, wizard.LTransferRate,
                               wizard.LEstimatedTime, wizard.AllDownloading})
        ExpectLineFits(line, Where("line"));
    for (const QGroupBox* group : {wizard.LCurrentFile, wizard.LAllFiles})
        EXPECT_LE(TextWidth(group, group->title()), kGroupTitleRoom) << Where("group");
    ExpectButtonFits(wizard.FinishBtn, Where("next"));
    ExpectButtonFits(wizard.CancelBtn, Where("cancel"));

    ShowWizardFinished();
    EXPECT_LE(wizard.WizardTitle->geometry().right(), wizard.width() - 4) << Where("title");
    EXPECT_LE(wizard.AfterNote->geometry().bottom(), wizard.AboutLabel->y() - 2) << Where("note");
    ExpectButtonFits(wizard.FinishBtn, Where("ok"));
}

TEST_P(TextFitTest, UpgradeMessageButtonsFit) {
    modals_.OnDialog = [&](QDialog& dialog) {
        const auto& form = static_cast<TupUpgradeMessageForm&>(dialog);
        ExpectButtonFits(form.YesBtn, Where("yes"));
        ExpectButtonFits(form.LaterBtn, Where("later"));
        return QDialog::Rejected;
    };
    AskUpgrade("Faster lookups.");
    EXPECT_EQ(modals_.DialogsShown, 1);
}

TEST_P(TextFitTest, PasswordLabelsStayLeftOfTheirFields) {
    modals_.OnDialog = [&](QDialog& dialog) {
        const auto& form = static_cast<TupPasswordForm&>(dialog);
        EXPECT_LT(form.UsernameLab->geometry().right(), form.UsernameEdit->x() - 2)
            << Where("user name") << ": " << form.UsernameLab->text().toStdString();
        EXPECT_LT(form.PasswordLab->geometry().right(), form.PasswordEdit->x() - 2)
            << Where("password") << ": " << form.PasswordLab->text().toStdString();
        ExpectButtonFits(form.OKBtn, Where("ok"));
        ExpectButtonFits(form.CancelBtn, Where("cancel"));
        return QDialog::Rejected;
    };
    AskPassword(host_);
    EXPECT_EQ(modals_.DialogsShown, 1);
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, TextFitTest,
                         testing::ValuesIn(UpgraderLanguageTables().begin(),
                                           UpgraderLanguageTables().end()),
                         [](const testing::TestParamInfo<TupLanguageTable>& info) {
                             return std::string(info.param.TableName);
                         });

} // namespace
} // namespace quorvex
