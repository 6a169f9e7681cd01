// "记住窗口": the window's state written at the end and put back at the next start.
#include "app/WindowMemory.h"

#include "app/FakeServices.h"
#include "app/Unit1.h"
#include "platform/gui/WebBrowser.h"
#include "settings/Settings.h"
#include "support/ScopedEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QSlider>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

struct TWindowState {
    int Pair;
    bool StayOnTop;
    int Transparency;
    int PanelHeight;
    QPoint Place;
    bool operator==(const TWindowState&) const = default;
};

TWindowState StateOf(const TForm1& form) {
    return {form.ComboBox1->currentIndex(), form.CheckBox1->isChecked(), form.TrackBar1->value(),
            form.Panel1->height(), form.pos()};
}

class WindowMemoryTest : public testing::Test {
protected:
    // A window as the program starts it, with whatever the settings file remembers.
    std::unique_ptr<TForm1> StartedWindow() {
        auto form = std::make_unique<TForm1>(services_, true);
        TWindowMemory(*form).Restore();
        return form;
    }

    QTemporaryDir home_;
    test_support::ScopedEnvironment config_{"XDG_CONFIG_HOME", home_.path().toStdString()};
    test_support::TFakeServices services_;
};

TEST_F(WindowMemoryTest, AFirstStartLooksAsTheLayoutHasIt) {
    const TForm1 plain(services_, true);
    EXPECT_EQ(StateOf(*StartedWindow()), StateOf(plain));
}

TEST_F(WindowMemoryTest, TheStateComesBackAtTheNextStartWhileRemembered) {
    const auto first = StartedWindow();
    first->ComboBox1->setCurrentIndex(3);
    first->CheckBox1->setChecked(false);
    first->TrackBar1->setValue(180);
    first->SpeedButton1Click();
    first->move(123, 45);
    TWindowMemory(*first).Save();
    const TWindowState saved = StateOf(*first);
    EXPECT_EQ(StateOf(*StartedWindow()), saved);
    EXPECT_FALSE(StartedWindow()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    settings::Write("Window/Remember", "false");
    const TForm1 plain(services_, true);
    EXPECT_EQ(StateOf(*StartedWindow()), StateOf(plain));
}

TEST_F(WindowMemoryTest, BadValuesAreIgnoredOneByOne) {
    settings::Write("Window/Pair", "xx|yy");
    settings::Write("Window/Transparency", "opaque");
    settings::Write("Window/PanelHeight", "200");
    testing::internal::CaptureStderr();
    const auto form = StartedWindow();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 2) << errors;
    EXPECT_EQ(form->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(form->TrackBar1->value(), 100);
    EXPECT_EQ(form->Panel1->height(), 200);
}

} // namespace
} // namespace quorvex
