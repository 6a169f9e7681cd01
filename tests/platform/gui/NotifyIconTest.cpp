#include "platform/gui/NotifyIcon.h"

#include "platform/gui/TrayHostWatch.h"

#include <QGuiApplication>
#include <QStyleHints>
#include <gtest/gtest.h>

namespace quorvex::platform {
namespace {

using Notifications = std::vector<unsigned>;

// Each activation Qt reports stands for the notifications of the clicks that make it.
TEST(NotifyIcon, ActivationsBecomeButtonNotifications) {
    QStyleHints& hints = *QGuiApplication::styleHints();
    const int savedTime = hints.mouseDoubleClickInterval();
    // Long enough that the two activations of a test always fall within it.
    hints.setMouseDoubleClickInterval(60000);
    TTrayHostWatch host;
    TNotifyIcon icon(host);
    const Notifications click{notify::kLeftButtonDown, notify::kLeftButtonUp};
    const Notifications doubleClick{notify::kLeftDoubleClick};
    struct Case {
        QSystemTrayIcon::ActivationReason reason;
        Notifications expected;
        const char* what;
    };
    const Case cases[] = {
        {QSystemTrayIcon::Trigger, click, "a click"},
        {QSystemTrayIcon::DoubleClick, doubleClick, "the double-click an XEmbed tray reports"},
        {QSystemTrayIcon::Trigger, click, "a click after a double-click starts afresh"},
        {QSystemTrayIcon::Trigger, doubleClick, "a second activation, as StatusNotifierItem"},
        {QSystemTrayIcon::Trigger, click, "a third activation"},
        {QSystemTrayIcon::Context, Notifications{notify::kRightButtonDown, notify::kRightButtonUp},
         "the context menu"},
        {QSystemTrayIcon::MiddleClick,
         Notifications{notify::kMiddleButtonDown, notify::kMiddleButtonUp}, "the middle button"},
        {QSystemTrayIcon::Unknown, Notifications{}, "an unknown activation"},
    };
    for (const Case& item : cases)
        EXPECT_EQ(icon.Notifications(item.reason), item.expected) << item.what;
    // Activations further apart than the double-click time are two clicks.
    hints.setMouseDoubleClickInterval(0);
    EXPECT_EQ(icon.Notifications(QSystemTrayIcon::Trigger), click);
    hints.setMouseDoubleClickInterval(savedTime);
}

TEST(NotifyIcon, NothingIsShownWithoutANotificationArea) {
    TTrayHostWatch host;
    host.Probe = [] { return false; };
    host.Check();
    TNotifyIcon icon(host);
    EXPECT_FALSE(icon.Add({}));
    EXPECT_FALSE(icon.Present());
    EXPECT_FALSE(icon.Modify({}));
    EXPECT_FALSE(icon.Delete());
}

} // namespace
} // namespace quorvex::platform
