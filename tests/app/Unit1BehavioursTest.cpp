#include "app/FakeServices.h"
#include "app/SlideUp.h"
#include "app/Unit1.h"
#include "platform/gui/PopupMenu.h"
#include "platform/gui/TrayHostWatch.h"
#include "platform/gui/WebBrowser.h"
#include "support/Pumping.h"
#include "tray/TrayIcon.h"
#include "tray/TrayIconHandler.h"

#include <QAction>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using test_support::PumpFor;
using test_support::PumpUntil;
using test_support::TFakeServices;

// Far away from any window of the test.
inline constexpr QPoint kPointerAway{1200, 700};

// The main window on screen, in a desktop whose notification area the test decides.
class Form1BehavioursTest : public testing::Test {
protected:
    Form1BehavioursTest()
        : form_(services_, true) {
        SetTrayAvailable(true);
        form_.show();
        // A test before may have left a synthetic button held.
        if (QGuiApplication::mouseButtons() != Qt::NoButton)
            QTest::mouseRelease(&form_, Qt::LeftButton);
        EXPECT_EQ(QGuiApplication::mouseButtons(), Qt::NoButton);
    }
    ~Form1BehavioursTest() override { form_.TrayIcon1->SetIconVisible(false); }

    void SetTrayAvailable(bool available) {
        trayAvailable_ = available;
        platform::TTrayHostWatch& watch = TTrayIconHandler::Current()->HostWatch();
        watch.Probe = [this] { return trayAvailable_; };
        watch.Check();
    }
    int Alpha() const { return static_cast<int>(form_.windowOpacity() * 255 + 0.5); }
    int SlidTop() const { return 3 - form_.frameGeometry().height(); }
    int FrameTop() const { return form_.geometry().top() - form_.frameGeometry().top(); }
    // Leaves a window docked at `top` with the pointer away from it.
    void LeaveAt(int top) {
        form_.SetTop(top);
        form_.tmrMouseOut->start();
        QCursor::setPos(kPointerAway);
        form_.tmrMouseOutTimer();
    }

    void EnterAt(QPoint pointer) {
        QCursor::setPos(pointer);
        form_.MouseEnterProc();
    }

    bool trayAvailable_ = false;
    TFakeServices services_;
    TForm1 form_;
};

TEST_F(Form1BehavioursTest, TheSliderSetsTheOpacityOnlyWhenMoved) {
    EXPECT_EQ(Alpha(), 250) << "the slider stands at its top at start, the window at 250";
    struct Case {
        int position;
        int alpha;
    };
    for (const Case item : {Case{200, 155}, Case{255, 100}, Case{100, 255}, Case{101, 254}}) {
        form_.TrackBar1->setValue(item.position);
        EXPECT_EQ(Alpha(), item.alpha) << item.position;
    }
}

TEST_F(Form1BehavioursTest, PlusAndMinusChangeThePanelAndTheWindowByTen) {
    const int expanded = form_.height();
    form_.SpeedButton1->click();
    EXPECT_EQ(form_.Panel1->height(), 179);
    EXPECT_EQ(form_.WebBrowser1->Widget().height(), 179);
    EXPECT_EQ(form_.height(), expanded + 10);
    form_.SpeedButton2->click();
    form_.SpeedButton2->click();
    EXPECT_EQ(form_.Panel1->height(), 159);
    EXPECT_EQ(form_.WebBrowser1->Widget().height(), 159);
    EXPECT_EQ(form_.height(), expanded - 10);
}

TEST_F(Form1BehavioursTest, WhileCollapsedMinusDoesNothingAndPlusShowsTenRowsOfThePanel) {
    form_.SpeedButtonUPClick();
    form_.SpeedButton2Click();
    EXPECT_EQ(form_.height(), 295);
    EXPECT_EQ(form_.Panel1->height(), 169);
    form_.SpeedButton1Click();
    EXPECT_EQ(form_.height(), 305);
    EXPECT_EQ(form_.Panel1->height(), 179);
}

TEST_F(Form1BehavioursTest, MinusNeverTakesThePanelBelowZero) {
    for (int press = 0; press < 30; ++press)
        form_.SpeedButton2Click();
    EXPECT_EQ(form_.Panel1->height(), 0);
    EXPECT_EQ(form_.WebBrowser1->Widget().height(), 0);
    EXPECT_EQ(form_.height(), 296);
    form_.SpeedButtonDownClick();
    EXPECT_EQ(form_.height(), 296);
}

TEST_F(Form1BehavioursTest, MovingAboveTheTopEdgeStopsAtTheEdge) {
    struct Case {
        QRect proposed;
        QRect allowed;
    };
    const Case cases[] = {
        {{100, -40, 486, 490}, {100, 0, 486, 490}},
        {{-30, -1, 486, 490}, {-30, 0, 486, 490}},
        {{100, 0, 486, 490}, {100, 0, 486, 490}},
        {{100, 5, 486, 490}, {100, 5, 486, 490}},
    };
    for (const Case& item : cases)
        EXPECT_EQ(form_.WMMoving(item.proposed), item.allowed) << item.proposed.top();
}

TEST_F(Form1BehavioursTest, OnlyADragIsStoppedAtTheTopEdge) {
    // The user's drag: the window moves with the left button held.
    QTest::mousePress(&form_, Qt::LeftButton);
    form_.SetTop(-40);
    EXPECT_TRUE(PumpUntil([&] { return form_.Top() == 0; })) << form_.Top();
    QTest::mouseRelease(&form_, Qt::LeftButton);
    // The program's own move, as the slide's, goes above the edge.
    form_.SetTop(-40);
    PumpFor(50ms);
    EXPECT_NEAR(form_.Top(), -40, FrameTop());
}

TEST_F(Form1BehavioursTest, LeavingWithTheButtonHeldNeverSlides) {
    QTest::mousePress(&form_, Qt::LeftButton);
    LeaveAt(0);
    EXPECT_TRUE(form_.tmrMouseOut->isActive()) << "the watch looks again at its next tick";
    EXPECT_FALSE(form_.SlideUp->Running());
    QTest::mouseRelease(&form_, Qt::LeftButton);
    form_.tmrMouseOutTimer();
    EXPECT_TRUE(form_.SlideUp->Running());
}

TEST_F(Form1BehavioursTest, ADockedWindowSlidesUpToThreeRowsWhenThePointerLeaves) {
    for (const int top : {0, 5}) {
        LeaveAt(top);
        EXPECT_FALSE(form_.tmrMouseOut->isActive());
        ASSERT_TRUE(PumpUntil([&] { return !form_.SlideUp->Running(); })) << top;
        // The offscreen platform moves a framed window by its frame's width after a move.
        EXPECT_NEAR(form_.Top(), SlidTop(), FrameTop()) << top;
        // The pointer comes onto the rows that are left: the whole window drops back.
        EnterAt(form_.frameGeometry().bottomLeft() + QPoint(10, 0));
        EXPECT_EQ(form_.Top(), 0);
        EXPECT_TRUE(form_.tmrMouseOut->isActive());
    }
}

TEST_F(Form1BehavioursTest, AWindowBelowTheDockingRowsStays) {
    LeaveAt(6);
    EXPECT_FALSE(form_.tmrMouseOut->isActive()) << "the watch waits for the next mouse enter";
    PumpFor(100ms);
    EXPECT_EQ(form_.Top(), 6);
}

TEST_F(Form1BehavioursTest, ThePointerOverTheWindowKeepsItDocked) {
    form_.SetTop(0);
    form_.tmrMouseOut->start();
    QCursor::setPos(form_.frameGeometry().center());
    form_.tmrMouseOutTimer();
    EXPECT_TRUE(form_.tmrMouseOut->isActive());
    EXPECT_FALSE(form_.SlideUp->Running());
    EXPECT_EQ(form_.Top(), 0);
}

TEST_F(Form1BehavioursTest, ThePointerComingBackEndsTheSlide) {
    LeaveAt(0);
    ASSERT_TRUE(PumpUntil([&] { return form_.Top() < 0; }));
    ASSERT_TRUE(form_.SlideUp->Running());
    EnterAt(form_.frameGeometry().center());
    PumpFor(100ms);
    EXPECT_FALSE(form_.SlideUp->Running());
    EXPECT_EQ(form_.Top(), 0);
}

TEST_F(Form1BehavioursTest, ShowHideHidesToTheTrayAndShowsAgain) {
    form_.SetTop(10);
    form_.N2Click();
    EXPECT_FALSE(form_.isVisible());
    form_.N2Click();
    EXPECT_TRUE(form_.isVisible());
    EXPECT_EQ(form_.Top(), 10);
    // The tray icon's double-click does the same through the menu entry.
    form_.TrayIcon1DblClick();
    EXPECT_FALSE(form_.isVisible());
    form_.TrayIcon1->Notify(platform::notify::kLeftDoubleClick);
    EXPECT_TRUE(form_.isVisible());
}

TEST_F(Form1BehavioursTest, ShowHideBringsASlidWindowDownToTopFour) {
    form_.SetTop(SlidTop());
    form_.N2Click();
    EXPECT_TRUE(form_.isVisible());
    EXPECT_EQ(form_.Top(), 4);
    form_.hide();
    form_.SetTop(SlidTop());
    form_.N2Click();
    EXPECT_TRUE(form_.isVisible());
    EXPECT_EQ(form_.Top(), 4);
}

TEST_F(Form1BehavioursTest, WithoutATrayShowHideNeverHidesTheWindow) {
    SetTrayAvailable(false);
    form_.N2Click();
    EXPECT_TRUE(form_.isVisible());
    form_.showMinimized();
    PumpFor(50ms);
    EXPECT_TRUE(form_.isVisible()) << "a minimize is an ordinary one";
    form_.showNormal();
    // The tray comes: hiding works; it goes away with the window in it: the window is back.
    SetTrayAvailable(true);
    form_.N2Click();
    EXPECT_FALSE(form_.isVisible());
    SetTrayAvailable(false);
    EXPECT_TRUE(form_.isVisible());
}

TEST_F(Form1BehavioursTest, TheTrayIconIsTheProgramsWithItsMenu) {
    ASSERT_TRUE(PumpUntil([&] { return form_.TrayIcon1->IconVisible(); }))
        << "painting puts the icon into the tray";
    EXPECT_EQ(form_.TrayIcon1->Hint(), "Virovedezori");
    EXPECT_FALSE(form_.TrayIcon1->Icon().isNull());
    EXPECT_FALSE(form_.windowIcon().isNull());
    EXPECT_EQ(form_.TrayIcon1->PopupMenu, form_.PopupMenu1);
    EXPECT_TRUE(form_.TrayIcon1->MinimizeToTray);
    EXPECT_EQ(form_.TrayIcon1->CycleInterval(), 0u);
    EXPECT_EQ(form_.TrayIcon1->IconIndex(), 0);
}

} // namespace
} // namespace quorvex
