// The main window on a desktop of two screens side by side (tests/app/resources/two-screens.json,
// given to the offscreen platform by the test's environment).
#include "app/FakeServices.h"
#include "app/Unit1.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using test_support::TFakeServices;

class TwoScreensTest : public testing::TestWithParam<int> {
protected:
    TwoScreensTest() {
        EXPECT_EQ(QGuiApplication::screens().size(), 2) << "the platform has no two screens";
    }
    QScreen& Screen() const { return *QGuiApplication::screens().value(GetParam()); }

    TFakeServices services_;
};

TEST_P(TwoScreensTest, TheWindowStartsWhollyOnTheScreenUnderThePointer) {
    QCursor::setPos(Screen().geometry().center());
    TForm1 form(services_, true);
    form.show();
    EXPECT_TRUE(Screen().availableGeometry().contains(form.frameGeometry()))
        << "the window lies at " << form.frameGeometry().left() << ", "
        << form.frameGeometry().top();
    // "+" stops at that screen's height.
    for (int press = 0; press < Screen().geometry().height() / 10; ++press)
        form.SpeedButton1Click();
    EXPECT_LE(form.frameGeometry().height(), Screen().availableGeometry().height());
}

INSTANTIATE_TEST_SUITE_P(EachScreen, TwoScreensTest, testing::Values(0, 1));

} // namespace
} // namespace quorvex
