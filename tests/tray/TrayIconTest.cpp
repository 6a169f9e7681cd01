#include "tray/TrayIcon.h"

#include "platform/gui/PopupMenu.h"
#include "platform/gui/TrayHostWatch.h"
#include "support/DoubleClickTime.h"
#include "support/Pumping.h"
#include "tray/ImageList.h"
#include "tray/TrayIconHandler.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using test_support::PumpFor;
using test_support::PumpUntil;
namespace notify = platform::notify;

inline constexpr int kShortDoubleClickTime = 40;

QIcon FilledIcon(Qt::GlobalColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// A tray icon on a window, with every event written into a log, and a notification area
// whose presence the test decides.
class TrayIconTest : public testing::Test {
protected:
    TrayIconTest() {
        HostWatch().Probe = [this] { return trayAvailable_; };
        HostWatch().Check();
        icon_.OnClick = [this](TTrayIcon& sender) { Log(sender, "click"); };
        icon_.OnMouseDown = [this](TTrayIcon& sender, TMouseButton button, TShiftState shift,
                                   QPoint) { Log(sender, "down" + Button(button, shift)); };
        icon_.OnMouseUp = [this](TTrayIcon& sender, TMouseButton button, TShiftState shift,
                                 QPoint) { Log(sender, "up" + Button(button, shift)); };
        icon_.OnMouseMove = [this](TTrayIcon& sender, TShiftState, QPoint) { Log(sender, "move"); };
        icon_.OnMouseEnter = [this](TTrayIcon& sender) { Log(sender, "enter"); };
        icon_.OnMouseExit = [this](TTrayIcon& sender) { Log(sender, "exit"); };
        icon_.OnBalloonHintShow = [this](TTrayIcon& sender) { Log(sender, "balloon-show"); };
        icon_.OnBalloonHintHide = [this](TTrayIcon& sender) { Log(sender, "balloon-hide"); };
        icon_.OnBalloonHintTimeout = [this](TTrayIcon& sender) { Log(sender, "balloon-timeout"); };
        icon_.OnBalloonHintClick = [this](TTrayIcon& sender) { Log(sender, "balloon-click"); };
        icon_.Loaded();
    }

    static platform::TTrayHostWatch& HostWatch() {
        return TTrayIconHandler::Current()->HostWatch();
    }
    void SetTrayAvailable(bool available) {
        trayAvailable_ = available;
        HostWatch().Check();
    }
    void SetDoubleClickHandler() {
        icon_.OnDblClick = [this](TTrayIcon& sender) { Log(sender, "dblclick"); };
    }
    void Log(TTrayIcon& sender, const std::string& entry) {
        EXPECT_EQ(&sender, &icon_);
        log_ += (log_.empty() ? "" : " ") + entry;
    }
    static std::string Button(TMouseButton button, TShiftState shift) {
        const char* name = button == TMouseButton::mbLeft    ? "-left"
                           : button == TMouseButton::mbRight ? "-right"
                                                             : "-middle";
        const TShiftState flag = button == TMouseButton::mbLeft    ? ssLeft
                                 : button == TMouseButton::mbRight ? ssRight
                                                                   : ssMiddle;
        return (shift & flag) ? name : std::string(name) + "(no button flag)";
    }
    std::string TakeLog() { return std::exchange(log_, {}); }

    bool trayAvailable_ = false;
    QWidget window_;
    TTrayIcon icon_{&window_};
    std::string log_;
};

TEST_F(TrayIconTest, EachNotificationRaisesItsEvent) {
    struct Case {
        unsigned notification;
        bool modern;
        const char* events;
    };
    const Case cases[] = {
        {notify::kMouseMove, false, "move"},
        {notify::kLeftButtonDown, false, "down-left"},
        {notify::kRightButtonDown, false, "down-right"},
        {notify::kRightButtonUp, false, "up-right"},
        {notify::kRightButtonUp, true, ""},
        {notify::kContextMenu, false, ""},
        {notify::kContextMenu, true, "up-right"},
        {notify::kSelect, true, "up-right"},
        {notify::kKeySelect, true, "up-right"},
        {notify::kMiddleButtonDown, false, "down-middle"},
        {notify::kMiddleButtonUp, false, "up-middle"},
        {notify::kBalloonShow, false, "balloon-show"},
        {notify::kBalloonHide, false, "balloon-hide"},
        {notify::kBalloonTimeout, false, "balloon-timeout"},
        {notify::kBalloonUserClick, false, "balloon-click"},
        {1, false, ""},
    };
    for (const Case& item : cases) {
        icon_.ModernNotifications = item.modern;
        icon_.Notify(item.notification);
        EXPECT_EQ(TakeLog(), item.events) << item.notification << " modern " << item.modern;
    }
}

TEST_F(TrayIconTest, DisabledIconIgnoresAllButTheBalloonNotifications) {
    icon_.Enabled = false;
    for (const unsigned notification :
         {notify::kMouseMove, notify::kLeftButtonDown, notify::kLeftButtonUp,
          notify::kLeftDoubleClick, notify::kRightButtonDown, notify::kMiddleButtonUp})
        icon_.Notify(notification);
    EXPECT_EQ(TakeLog(), "");
    icon_.Notify(notify::kBalloonUserClick);
    EXPECT_EQ(TakeLog(), "balloon-click");
}

TEST_F(TrayIconTest, WithoutADoubleClickHandlerTheClickComesAtButtonUp) {
    icon_.Notify(notify::kLeftButtonDown);
    icon_.Notify(notify::kLeftButtonUp);
    EXPECT_EQ(TakeLog(), "down-left click up-left");
    icon_.Notify(notify::kLeftButtonUp);
    EXPECT_EQ(TakeLog(), "up-left") << "a button-up without its press is no click";
}

TEST_F(TrayIconTest, WithADoubleClickHandlerTheClickWaitsForTheDoubleClickTime) {
    const test_support::ScopedDoubleClickTime shortTime(kShortDoubleClickTime);
    SetDoubleClickHandler();
    icon_.Notify(notify::kLeftButtonDown);
    icon_.Notify(notify::kLeftButtonUp);
    EXPECT_EQ(TakeLog(), "down-left up-left");
    EXPECT_TRUE(PumpUntil([&] { return !log_.empty(); }));
    EXPECT_EQ(TakeLog(), "click");
}

TEST_F(TrayIconTest, ADoubleClickRaisesOnlyTheDoubleClick) {
    const test_support::ScopedDoubleClickTime shortTime(kShortDoubleClickTime);
    SetDoubleClickHandler();
    icon_.Notify(notify::kLeftButtonDown);
    icon_.Notify(notify::kLeftButtonUp);
    icon_.Notify(notify::kLeftDoubleClick);
    PumpFor(std::chrono::milliseconds(kShortDoubleClickTime * 5));
    EXPECT_EQ(TakeLog(), "down-left up-left dblclick");
    // The next single click is a click again.
    icon_.Notify(notify::kLeftButtonDown);
    icon_.Notify(notify::kLeftButtonUp);
    EXPECT_TRUE(PumpUntil([&] { return log_.find("click") != std::string::npos; }));
    EXPECT_EQ(TakeLog(), "down-left up-left click");
}

TEST_F(TrayIconTest, APressHeldPastTheDoubleClickTimeClicksOnceAtTheLatest) {
    const test_support::ScopedDoubleClickTime shortTime(kShortDoubleClickTime);
    SetDoubleClickHandler();
    icon_.Notify(notify::kLeftButtonDown);
    PumpFor(std::chrono::milliseconds(kShortDoubleClickTime * 5));
    icon_.Notify(notify::kLeftButtonUp);
    PumpFor(std::chrono::milliseconds(kShortDoubleClickTime * 5));
    EXPECT_EQ(TakeLog(), "down-left click up-left");
}

TEST_F(TrayIconTest, WatchEnterExitRaisesEnterOnTheFirstMoveAndExitWhenThePointerLeft) {
    icon_.Notify(notify::kMouseMove);
    EXPECT_EQ(TakeLog(), "move") << "no enter or exit while not watching";
    icon_.SetWatchEnterExit(true);
    icon_.Notify(notify::kMouseMove);
    icon_.Notify(notify::kMouseMove);
    EXPECT_EQ(TakeLog(), "enter move move");
    // The pointer has not left the place of the last move.
    PumpFor(100ms);
    EXPECT_EQ(TakeLog(), "");
    QCursor::setPos(QCursor::pos() + QPoint(7, 3));
    EXPECT_TRUE(PumpUntil([&] { return !log_.empty(); }));
    EXPECT_EQ(TakeLog(), "exit");
    icon_.Notify(notify::kMouseMove);
    EXPECT_EQ(TakeLog(), "enter move");
}

TEST_F(TrayIconTest, RightButtonOpensTheMenuAtTheCursorUnlessAutoPopupIsOff) {
    platform::TPopupMenu menu;
    menu.addAction("entry");
    icon_.PopupMenu = &menu;
    menu.AutoPopup = false;
    icon_.Notify(notify::kRightButtonDown);
    EXPECT_FALSE(menu.isVisible());
    menu.AutoPopup = true;
    icon_.Notify(notify::kRightButtonDown);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    icon_.Notify(notify::kLeftButtonDown);
    EXPECT_FALSE(menu.isVisible()) << "the left button opens the menu only with LeftPopup";
    icon_.LeftPopup = true;
    icon_.Notify(notify::kLeftButtonDown);
    EXPECT_TRUE(menu.isVisible());
}

TEST_F(TrayIconTest, ADoubleClickClicksTheMenusDefaultEntryUnlessLeftPopup) {
    SetDoubleClickHandler();
    platform::TPopupMenu menu;
    int defaultClicks = 0;
    QAction* entry = menu.addAction("default", [&] { ++defaultClicks; });
    icon_.PopupMenu = &menu;
    icon_.Notify(notify::kLeftDoubleClick);
    EXPECT_EQ(defaultClicks, 0) << "no default entry yet";
    menu.setDefaultAction(entry);
    icon_.Notify(notify::kLeftDoubleClick);
    EXPECT_EQ(defaultClicks, 1);
    icon_.LeftPopup = true;
    icon_.Notify(notify::kLeftDoubleClick);
    EXPECT_EQ(defaultClicks, 1);
    EXPECT_EQ(TakeLog(), "dblclick dblclick dblclick");
}

TEST_F(TrayIconTest, IconIndexStaysWithinTheList) {
    TImageList list;
    for (const Qt::GlobalColor colour : {Qt::red, Qt::green, Qt::blue, Qt::yellow})
        list.Icons.push_back(FilledIcon(colour));
    icon_.SetIconIndex(2);
    EXPECT_EQ(icon_.IconIndex(), 0) << "no list, no index";
    icon_.SetIconList(&list);
    struct Case {
        int asked;
        int stored;
    };
    for (const Case item : {Case{1, 1}, Case{3, 3}, Case{4, 3}, Case{10, 3}, Case{-1, -1}}) {
        icon_.SetIconIndex(item.asked);
        EXPECT_EQ(icon_.IconIndex(), item.stored) << item.asked;
        if (item.stored >= 0) {
            EXPECT_EQ(icon_.Icon().cacheKey(), list.Icons[item.stored].cacheKey()) << item.asked;
        }
    }
}

TEST_F(TrayIconTest, FreeingTheIconListResetsTheIndex) {
    auto list = std::make_unique<TImageList>();
    list->Icons = {FilledIcon(Qt::red), FilledIcon(Qt::green)};
    icon_.SetIconList(list.get());
    icon_.SetIconIndex(1);
    list.reset();
    EXPECT_EQ(icon_.IconList(), nullptr);
    EXPECT_EQ(icon_.IconIndex(), 0);
}

TEST_F(TrayIconTest, CyclingRunsThroughTheListAndReportsTheNextIndex) {
    TImageList list;
    list.Icons = {FilledIcon(Qt::red), FilledIcon(Qt::green), FilledIcon(Qt::blue)};
    icon_.SetIconList(&list);
    icon_.SetIconIndex(2);
    std::vector<int> shown;
    std::vector<int> next;
    icon_.OnCycle = [&](TTrayIcon& sender, int nextIndex) {
        shown.push_back(sender.IconIndex());
        next.push_back(nextIndex);
        EXPECT_EQ(sender.Icon().cacheKey(), list.Icons[sender.IconIndex()].cacheKey());
    };
    icon_.SetCycleInterval(10);
    icon_.SetCycleIcons(true);
    EXPECT_EQ(icon_.IconIndex(), 0) << "cycling starts at the first icon";
    ASSERT_TRUE(PumpUntil([&] { return shown.size() >= 4; }));
    icon_.SetCycleIcons(false);
    shown.resize(4);
    next.resize(4);
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(next, (std::vector<int>{1, 2, 0, 1}));
    const std::size_t steps = shown.size();
    PumpFor(100ms);
    EXPECT_EQ(shown.size(), steps) << "cycling stopped";
}

TEST_F(TrayIconTest, CyclingWithAZeroIntervalNeverSteps) {
    TImageList list;
    list.Icons = {FilledIcon(Qt::red), FilledIcon(Qt::green)};
    icon_.SetIconList(&list);
    int steps = 0;
    icon_.OnCycle = [&](TTrayIcon&, int) { ++steps; };
    icon_.SetCycleIcons(true);
    PumpFor(100ms);
    EXPECT_EQ(steps, 0);
}

TEST_F(TrayIconTest, TheTipIsTheHintCutTo127AnsiBytesOrEmpty) {
    const auto repeat = [](const std::string& piece, int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += piece;
        return text;
    };
    struct Case {
        std::string hint;
        bool showHint;
        std::string tip;
    };
    const Case cases[] = {
        {"Virovedezori", true, "Virovedezori"},
        {"Virovedezori", false, ""},
        {"", true, ""},
        {repeat("a", 200), true, repeat("a", 127)},
        // A Chinese character is two bytes in the ANSI code page and is never cut in two.
        {repeat("中", 100), true, repeat("中", 63)},
        {"a" + repeat("中", 100), true, "a" + repeat("中", 63)},
        {repeat("a", 126) + "中", true, repeat("a", 126)},
    };
    for (const Case& item : cases) {
        icon_.SetShowHint(item.showHint);
        icon_.SetHint(item.hint);
        EXPECT_EQ(icon_.IconData().Tip.toStdString(), item.tip) << item.hint;
    }
}

TEST_F(TrayIconTest, TheIconGoesIntoTheTrayOnlyWhenThereIsOne) {
    icon_.SetIconVisible(true);
    EXPECT_TRUE(icon_.IconVisible());
    EXPECT_FALSE(icon_.AddTrayIcon()) << "no notification area";
    EXPECT_FALSE(icon_.UpdateTrayIcon());
    // The notification area appears: a visible icon goes into it by itself.
    SetTrayAvailable(true);
    EXPECT_FALSE(icon_.AddTrayIcon()) << "the icon should be there already";
    EXPECT_TRUE(icon_.UpdateTrayIcon());
    // It goes away and comes back, as a restarted panel does: the icon comes back too.
    SetTrayAvailable(false);
    EXPECT_FALSE(icon_.UpdateTrayIcon());
    SetTrayAvailable(true);
    EXPECT_TRUE(icon_.UpdateTrayIcon());
    EXPECT_TRUE(icon_.RemoveTrayIcon());
    EXPECT_FALSE(icon_.IconVisible());
    EXPECT_FALSE(icon_.RemoveTrayIcon());
}

TEST_F(TrayIconTest, MainWindowHidesToTheTrayOnlyWhileThereIsOne) {
    window_.show();
    icon_.HideMainWindow();
    EXPECT_TRUE(window_.isVisible()) << "no notification area to come back from";
    SetTrayAvailable(true);
    icon_.HideMainWindow();
    EXPECT_FALSE(window_.isVisible());
    icon_.ShowMainWindow();
    EXPECT_TRUE(window_.isVisible());
    icon_.HideMainWindow();
    // The notification area goes away with the window in it: the window comes back.
    SetTrayAvailable(false);
    EXPECT_TRUE(window_.isVisible());
}

TEST_F(TrayIconTest, MinimizingSendsTheWindowToTheTray) {
    int minimizeEvents = 0;
    icon_.OnMinimizeToTray = [&](TTrayIcon&) { ++minimizeEvents; };
    icon_.MinimizeToTray = true;
    window_.show();
    window_.showMinimized();
    PumpFor(50ms);
    EXPECT_TRUE(window_.isVisible()) << "without a tray a minimize is an ordinary one";
    EXPECT_EQ(minimizeEvents, 0);
    // The tray takes the taskbar entry's place: a window minimized before it came goes into
    // it, rather than staying minimized with no entry to bring it back from.
    SetTrayAvailable(true);
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(minimizeEvents, 1);
    icon_.ShowMainWindow();
    ASSERT_TRUE(window_.isVisible());
    window_.showMinimized();
    EXPECT_TRUE(PumpUntil([&] { return !window_.isVisible(); }));
    EXPECT_EQ(minimizeEvents, 2);
    EXPECT_TRUE(icon_.IconVisible());
    icon_.ShowMainWindow();
    EXPECT_TRUE(window_.isVisible());
    EXPECT_FALSE(window_.isMinimized());
}

TEST_F(TrayIconTest, StartupMayStartTheProgramHiddenInTheTray) {
    SetTrayAvailable(true);
    for (const bool show : {true, false}) {
        QWidget window;
        TTrayIcon icon(&window);
        icon.OnStartup = [&](TTrayIcon& sender, bool& showMainForm) {
            EXPECT_EQ(&sender, &icon);
            EXPECT_TRUE(showMainForm);
            showMainForm = show;
        };
        icon.Loaded();
        EXPECT_EQ(icon.ShowMainForm(), show);
    }
}

TEST(TrayIconHandler, OneSharedHandlerLivesFromTheFirstIconToTheLast) {
    ASSERT_EQ(TTrayIconHandler::Current(), nullptr);
    auto first = std::make_unique<TTrayIcon>(nullptr);
    TTrayIconHandler* handler = TTrayIconHandler::Current();
    ASSERT_NE(handler, nullptr);
    auto second = std::make_unique<TTrayIcon>(nullptr);
    EXPECT_EQ(TTrayIconHandler::Current(), handler);
    EXPECT_EQ(handler->ObjectCount(), 2u);
    first.reset();
    EXPECT_EQ(handler->ObjectCount(), 1u);
    second.reset();
    EXPECT_EQ(TTrayIconHandler::Current(), nullptr);
}

} // namespace
} // namespace quorvex
