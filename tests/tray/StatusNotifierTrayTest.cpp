// The tray icon on a desktop whose tray speaks only StatusNotifierItem and appears after the
// icon was made, on a private session bus with a watcher played by the test.
#include "platform/gui/StatusNotifierTypes.h"
#include "platform/gui/TrayHostWatch.h"
#include "support/DoubleClickTime.h"
#include "support/Pumping.h"
#include "support/TestStatusNotifierWatcher.h"
#include "tray/TrayIcon.h"
#include "tray/TrayIconHandler.h"

#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>
#include <optional>

namespace quorvex {
namespace {

using platform::TStatusNotifierPixmaps;
using platform::TStatusNotifierToolTip;
using test_support::PumpUntil;

// A watcher on the private session bus the test program runs with.
class TestWatcher : public test_support::TestStatusNotifierWatcher {
public:
    explicit TestWatcher(bool hostRegistered = true)
        : TestStatusNotifierWatcher(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"),
                                    hostRegistered) {}
};

QIcon FilledIcon(QColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// Long enough that two activations of a test always fall within it.
inline constexpr int kLongDoubleClickTime = 600000;

class StatusNotifierTrayTest : public testing::Test {
protected:
    StatusNotifierTrayTest() {
        icon_.SetHint("Virovedezori");
        icon_.SetIcon(FilledIcon(Qt::red));
        icon_.OnDblClick = [this](TTrayIcon&) { log_.push_back("dblclick"); };
        icon_.OnMouseDown = [this](TTrayIcon&, TMouseButton button, TShiftState, QPoint pos) {
            log_.push_back("down" + Button(button) + At(pos));
        };
        icon_.OnMouseUp = [this](TTrayIcon&, TMouseButton button, TShiftState, QPoint pos) {
            log_.push_back("up" + Button(button) + At(pos));
        };
        icon_.SetIconVisible(true);
        icon_.Loaded();
    }

    static std::string Button(TMouseButton button) {
        return button == TMouseButton::mbLeft    ? "-left"
               : button == TMouseButton::mbRight ? "-right"
                                                 : "-middle";
    }
    static std::string At(QPoint pos) {
        return "@" + std::to_string(pos.x()) + "," + std::to_string(pos.y());
    }
    std::vector<std::string> TakeLog() { return std::exchange(log_, {}); }
    // The tray comes, and the icon is in it.
    void ShowInATray() {
        watcher_.emplace();
        EXPECT_TRUE(watcher_->WaitForItem());
        EXPECT_TRUE(PumpUntil([&] { return icon_.TrayAvailable(); }));
    }

    QWidget window_;
    TTrayIcon icon_{&window_};
    std::vector<std::string> log_;
    std::optional<TestWatcher> watcher_;
};

TEST_F(StatusNotifierTrayTest, ATrayThatComesLaterGetsTheIconWithItsTip) {
    EXPECT_FALSE(icon_.TrayAvailable());
    TestWatcher watcher;
    ASSERT_TRUE(watcher.WaitForItem());
    EXPECT_TRUE(icon_.TrayAvailable());
    EXPECT_EQ(watcher.Items().size(), 1);

    EXPECT_EQ(watcher.ItemProperty("Category").toString(), "ApplicationStatus");
    EXPECT_EQ(watcher.ItemProperty("Id").toString(), "Virovedezori");
    EXPECT_EQ(watcher.ItemProperty("Title").toString(), "Virovedezori");
    EXPECT_EQ(watcher.ItemProperty("Status").toString(), "Active");
    EXPECT_FALSE(watcher.ItemProperty("ItemIsMenu").toBool());
    EXPECT_EQ(watcher.ItemProperty("Menu").value<QDBusObjectPath>().path(), "/NO_DBUSMENU");
    EXPECT_EQ(watcher.ItemStructure<TStatusNotifierToolTip>("ToolTip").Title, "Virovedezori");

    const auto pixmaps = watcher.ItemStructure<TStatusNotifierPixmaps>("IconPixmap");
    ASSERT_FALSE(pixmaps.isEmpty());
    for (const auto& pixmap : pixmaps) {
        ASSERT_EQ(pixmap.Pixels.size(), pixmap.Width * pixmap.Height * 4) << pixmap.Width;
        // Opaque red, alpha first, in network byte order.
        EXPECT_EQ(pixmap.Pixels.left(4), QByteArray("\xff\xff\x00\x00", 4)) << pixmap.Width;
    }
}

TEST_F(StatusNotifierTrayTest, TheTrayCountsOnlyOnceAHostShowsItsItems) {
    TestWatcher watcher(false);
    test_support::PumpFor(std::chrono::milliseconds(200));
    EXPECT_FALSE(icon_.TrayAvailable()) << "a watcher without a panel shows nothing";
    EXPECT_TRUE(watcher.Items().isEmpty());
    watcher.RegisterHost();
    EXPECT_TRUE(watcher.WaitForItem());
    EXPECT_TRUE(icon_.TrayAvailable());
}

TEST_F(StatusNotifierTrayTest, TheHostsRequestsBecomeTheClicksOfTheTrayComponent) {
    const test_support::ScopedDoubleClickTime longTime(kLongDoubleClickTime);
    ShowInATray();
    struct Case {
        const char* method;
        int calls;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"Activate", 2, {"down-left@10,20", "up-left@10,20", "dblclick"}},
        {"ContextMenu", 1, {"down-right@10,20", "up-right@10,20"}},
        {"SecondaryActivate", 1, {"down-middle@10,20", "up-middle@10,20"}},
    };
    for (const Case& item : cases) {
        for (int call = 0; call < item.calls; ++call)
            EXPECT_TRUE(watcher_->CallItem(item.method, {10, 20}));
        EXPECT_EQ(TakeLog(), item.events) << item.method;
    }
    EXPECT_TRUE(watcher_->CallItem("Scroll", {120, QStringLiteral("vertical")}));
    EXPECT_EQ(TakeLog(), std::vector<std::string>{}) << "a scroll has no notification";
}

TEST_F(StatusNotifierTrayTest, TheMenuOpensWhereTheHostAsks) {
    ShowInATray();
    platform::TPopupMenu menu;
    menu.addAction("entry");
    icon_.PopupMenu = &menu;
    EXPECT_TRUE(watcher_->CallItem("ContextMenu", {40, 50}));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), QPoint(40, 50));
    menu.hide();
}

TEST_F(StatusNotifierTrayTest, ChangesAreAnnounced) {
    ShowInATray();
    EXPECT_TRUE(watcher_->Listen("NewToolTip"));
    EXPECT_TRUE(watcher_->Listen("NewIcon"));
    icon_.SetHint("Virovedezori 2");
    ASSERT_TRUE(PumpUntil([&] { return watcher_->Signals().size() == 1; }));
    EXPECT_EQ(watcher_->Signals(), QStringList{"NewToolTip"});
    EXPECT_EQ(watcher_->ItemStructure<TStatusNotifierToolTip>("ToolTip").Title, "Virovedezori 2");
    icon_.SetIcon(FilledIcon(Qt::blue));
    ASSERT_TRUE(PumpUntil([&] { return watcher_->Signals().size() == 2; }));
    EXPECT_EQ(watcher_->Signals().last(), "NewIcon");
    const auto pixmaps = watcher_->ItemStructure<TStatusNotifierPixmaps>("IconPixmap");
    ASSERT_FALSE(pixmaps.isEmpty());
    EXPECT_EQ(pixmaps.first().Pixels.left(4), QByteArray("\xff\x00\x00\xff", 4));
}

TEST_F(StatusNotifierTrayTest, TheIconComesBackWithTheWatcherAndTheWindowWithoutIt) {
    ShowInATray();
    window_.show();
    icon_.HideMainWindow();
    EXPECT_FALSE(window_.isVisible());
    // The panel ends: the window must not stay hidden in a tray that is gone.
    watcher_.reset();
    EXPECT_TRUE(PumpUntil([&] { return !icon_.TrayAvailable(); }));
    EXPECT_TRUE(window_.isVisible());
    // It comes back: the icon registers again.
    watcher_.emplace();
    EXPECT_TRUE(watcher_->WaitForItem());
    EXPECT_TRUE(PumpUntil([&] { return icon_.TrayAvailable(); }));
    EXPECT_EQ(watcher_->ItemStructure<TStatusNotifierToolTip>("ToolTip").Title, "Virovedezori");
}

TEST_F(StatusNotifierTrayTest, AWatcherThatTakesOverGetsTheIcon) {
    ShowInATray();
    TestWatcher successor;
    EXPECT_TRUE(successor.WaitForItem());
    EXPECT_EQ(successor.Item(), watcher_->Item());
    EXPECT_TRUE(icon_.TrayAvailable());
}

} // namespace
} // namespace quorvex
