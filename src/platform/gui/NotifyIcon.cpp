#include "platform/gui/NotifyIcon.h"

#include "platform/gui/StatusNotifierItem.h"
#include "platform/gui/TrayHostWatch.h"
#include "platform/gui/X11Window.h"

namespace quorvex::platform {

TNotifyIcon::TNotifyIcon(const TTrayHostWatch& host)
    : host_(host) {}

TNotifyIcon::~TNotifyIcon() = default;

bool TNotifyIcon::Add(const TNotifyIconData& data) {
    if (Present() || !host_.Available())
        return false;
    if (host_.OwnStatusNotifierTray()) {
        if (!AddOwnItem())
            return false;
    } else {
        AddQtIcon();
    }
    Modify(data);
    if (icon_)
        icon_->show();
    return true;
}

bool TNotifyIcon::AddOwnItem() {
    auto item = std::make_unique<TStatusNotifierItem>();
    if (!item->Publish())
        return false;
    item->OnActivate = [this](QSystemTrayIcon::ActivationReason reason, QPoint pos) {
        Activated(reason, pos);
    };
    item_ = std::move(item);
    return true;
}

void TNotifyIcon::AddQtIcon() {
    icon_ = std::make_unique<QSystemTrayIcon>();
    connect(icon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason, CursorPos()); });
    connect(icon_.get(), &QSystemTrayIcon::messageClicked, this,
            [this] { Raise(notify::kBalloonUserClick, CursorPos()); });
}

bool TNotifyIcon::Modify(const TNotifyIconData& data) {
    if (icon_) {
        icon_->setIcon(data.Icon);
        icon_->setToolTip(data.Tip);
    }
    if (item_) {
        item_->SetIcon(data.Icon);
        item_->SetToolTip(data.Tip);
    }
    return Present();
}

bool TNotifyIcon::Delete() {
    if (!Present())
        return false;
    Forget();
    return true;
}

void TNotifyIcon::Forget() {
    icon_.reset();
    item_.reset();
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

void TNotifyIcon::Activated(QSystemTrayIcon::ActivationReason reason, QPoint pos) {
    for (const unsigned notification : Notifications(reason))
        Raise(notification, pos);
}

void TNotifyIcon::Raise(unsigned notification, QPoint pos) {
    if (OnNotify)
        OnNotify(notification, pos);
}

} // namespace quorvex::platform
