#include "platform/gui/NotifyIcon.h"

#include "platform/gui/TrayHostWatch.h"
#include "platform/gui/X11Window.h"

namespace quorvex::platform {

TNotifyIcon::TNotifyIcon(const TTrayHostWatch& host)
    : host_(host) {}

TNotifyIcon::~TNotifyIcon() = default;

bool TNotifyIcon::Add(const TNotifyIconData& data) {
    if (Present() || !host_.Available())
        return false;
    icon_ = std::make_unique<QSystemTrayIcon>();
    connect(icon_.get(), &QSystemTrayIcon::activated, this, &TNotifyIcon::Activated);
    connect(icon_.get(), &QSystemTrayIcon::messageClicked, this,
            [this] { Raise(notify::kBalloonUserClick); });
    Modify(data);
    icon_->show();
    return true;
}

bool TNotifyIcon::Modify(const TNotifyIconData& data) {
    if (!Present())
        return false;
    icon_->setIcon(data.Icon);
    icon_->setToolTip(data.Tip);
    return true;
}

bool TNotifyIcon::Delete() {
    if (!Present())
        return false;
    icon_.reset();
    return true;
}

void TNotifyIcon::Forget() {
    icon_.reset();
}

std::vector<unsigned> TNotifyIcon::Notifications(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (sinceLastTrigger_.isValid() && sinceLastTrigger_.elapsed() < DoubleClickTime()) {
            sinceLastTrigger_.invalidate();
            return {notify::kLeftDoubleClick};
        }
        sinceLastTrigger_.start();
        return {notify::kLeftButtonDown, notify::kLeftButtonUp};
    case QSystemTrayIcon::DoubleClick:
        // A third press starts a new click.
        sinceLastTrigger_.invalidate();
        return {notify::kLeftDoubleClick};
    case QSystemTrayIcon::Context:
        return {notify::kRightButtonDown, notify::kRightButtonUp};
    case QSystemTrayIcon::MiddleClick:
        return {notify::kMiddleButtonDown, notify::kMiddleButtonUp};
    default:
        return {};
    }
}

void TNotifyIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
    for (const unsigned notification : Notifications(reason))
        Raise(notification);
}

void TNotifyIcon::Raise(unsigned notification) {
    if (OnNotify)
        OnNotify(notification);
}

} // namespace quorvex::platform
