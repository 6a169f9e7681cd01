// The three dialogs as a user meets them: a real X server (Xvfb) with a window manager, the
// xcb platform, the real modal loops and message boxes. Each dialog is photographed into the
// artifacts folder.
#include "platform/gui/Application.h"
#include "support/ChildProcess.h"
#include "support/OnScreen.h"
#include "support/Pumping.h"
#include "support/Waiting.h"
#include "upgrader/DialogTestKit.h"
#include "upgrader/upMessages.h"
#include "upgrader/upPassword.h"
#include "upgrader/upUpgradeMsg.h"
#include "upgrader/upWizard.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using test_support::FakeDialogHost;
using test_support::PumpUntil;
using test_support::RunCommand;

inline constexpr auto kShowLimit = 60s;
// Room around a window in its photograph, for the window manager's frame.
inline constexpr int kPhotoMargin = 40;

// Counts the paint events a window got, to know it has been drawn.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& window)
        : window_(&window) {
        window.installEventFilter(this);
    }
    ~PaintCounter() override {
        if (!window_.isNull())
            window_->removeEventFilter(this);
    }
    int Count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++Count;
        return false;
    }

private:
    QPointer<QWidget> window_;
};

// Waits until the window is on the screen and drawn, then photographs it with its frame.
void Photograph(QWidget& window, const std::string& name) {
    PaintCounter paints(window);
    window.update();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, 60000)) << name;
    ASSERT_TRUE(PumpUntil([&] { return paints.Count > 0; }, kShowLimit)) << name;
    test_support::PumpFor(300ms); // the window manager's frame and the last flush
    const std::filesystem::path folder = QUORVEX_ARTIFACT_DIR;
    std::filesystem::create_directories(folder);
    const QRect frame =
        window.frameGeometry().adjusted(-kPhotoMargin, -kPhotoMargin, kPhotoMargin, kPhotoMargin);
    RunCommand("import -window root -crop " + std::to_string(frame.width()) + "x" +
               std::to_string(frame.height()) + "+" + std::to_string(std::max(frame.x(), 0)) + "+" +
               std::to_string(std::max(frame.y(), 0)) + " +repage " +
               (folder / ("upgrader-" + name + ".png")).string());
    EXPECT_TRUE(std::filesystem::exists(folder / ("upgrader-" + name + ".png"))) << name;
}

// Runs `act` once the modal window of this kind shows up, from inside its modal loop.
template <typename Window> void WhenShown(std::function<void(Window&)> act) {
    QTimer::singleShot(0, [act] {
        Window* window = nullptr;
        ASSERT_TRUE(PumpUntil(
            [&] {
                window = qobject_cast<Window*>(QApplication::activeModalWidget());
                return window != nullptr && window->isVisible();
            },
            kShowLimit));
        act(*window);
    });
}

class DialogsOnScreenTest : public testing::TestWithParam<TupLanguage> {
protected:
    DialogsOnScreenTest() { SetUpgraderLanguage(GetParam()); }
    ~DialogsOnScreenTest() override {
        DestroyWizard();
        SetUpgraderLanguage(TupLanguage::wlAuto);
    }

    std::string Name(const char* dialog) const {
        return std::string(dialog) + "-" + std::string(LanguageTable(GetParam()).TableName);
    }

    FakeDialogHost host_;
};

TEST_P(DialogsOnScreenTest, UpgradeMessageAnswersYes) {
    WhenShown<TupUpgradeMessageForm>([this](TupUpgradeMessageForm& form) {
        Photograph(form, Name("message"));
        QTest::mouseClick(form.YesBtn, Qt::LeftButton);
    });
    EXPECT_TRUE(AskUpgrade("Version 1.3.3.10: faster lookups, new icons.\nBug fixes."));
}

TEST_P(DialogsOnScreenTest, PasswordDialogTakesTheLogin) {
    host_.FileName = "quorvex-1.3.3.10.tar";
    WhenShown<TupPasswordForm>([this](TupPasswordForm& form) {
        QTest::keyClicks(form.UsernameEdit, "reader");
        QTest::keyClicks(form.PasswordEdit, "secret");
        Photograph(form, Name("password"));
        QTest::mouseClick(form.OKBtn, Qt::LeftButton);
    });
    EXPECT_TRUE(AskPassword(host_));
    EXPECT_EQ(host_.LoginData.HTTPUsername, "reader");
    EXPECT_EQ(host_.LoginData.HTTPPassword, "secret");
}

TEST_P(DialogsOnScreenTest, PasswordDialogShowsAboveTheWizard) {
    ShowWizard(host_);
    WizardForm()->ShowFileStart("http://quorvex.net/Quorvex/quorvex", 0, 1);
    bool onTop = false;
    WhenShown<TupPasswordForm>([&](TupPasswordForm& form) {
        onTop = form.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        Photograph(form, Name("password-over-wizard"));
        QTest::mouseClick(form.CancelBtn, Qt::LeftButton);
    });
    EXPECT_FALSE(AskPassword(host_));
    EXPECT_TRUE(onTop);
}

TEST_P(DialogsOnScreenTest, WizardDownloadsFinishesAndAsksBeforeAbandoning) {
    ShowWizard(host_);
    TupWizardForm& wizard = *WizardForm();
    wizard.ShowFileStart("http://quorvex.net/Quorvex/quorvex", 0, 2);
    wizard.ShowFileSize(1536 * 1024);
    wizard.ShowProgress(37, 18, 86.4, 754);
    Photograph(wizard, Name("wizard"));

    ShowWizardFinished();
    Photograph(wizard, Name("wizard-finished"));

    bool asked = false;
    WhenShown<QMessageBox>([&](QMessageBox& box) {
        asked = true;
        EXPECT_EQ(box.text().toStdString(), UpgraderText(upmsg::kAbortQuestion));
        Photograph(box, Name("wizard-abort-question"));
        QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
    });
    wizard.close();
    EXPECT_TRUE(asked);
    EXPECT_EQ(WizardForm(), nullptr);
    EXPECT_EQ(host_.Cancelled, 1);
}

INSTANTIATE_TEST_SUITE_P(Languages, DialogsOnScreenTest,
                         testing::Values(TupLanguage::wlChineseSimplified, TupLanguage::wlEnglish,
                                         TupLanguage::wlRussian),
                         [](const testing::TestParamInfo<TupLanguage>& info) {
                             return std::string(LanguageTable(info.param).TableName);
                         });

} // namespace
} // namespace quorvex

int main(int argc, char** argv) {
    return quorvex::test_support::RunOnScreen(argc, argv);
}
