#include "platform/gui/StatusNotifierItem.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <unistd.h>

namespace quorvex::platform {

namespace {

// Tells the items of one process apart on the bus.
int itemCount = 0;

} // namespace

TStatusNotifierItem::TStatusNotifierItem()
    : bus_(QDBusConnection::sessionBus())
    , serviceName_(
          QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(getpid()).arg(++itemCount))
    , watcherWatch_(status_notifier::kWatcherService, bus_) {
    RegisterStatusNotifierTypes();
    // A watcher that comes back, or one that takes over from another, knows nothing of us.
    connect(&watcherWatch_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                if (!newOwner.isEmpty())
                    RegisterWithWatcher();
            });
}

TStatusNotifierItem::~TStatusNotifierItem() {
    if (!published_)
        return;
    bus_.unregisterObject(status_notifier::kItemPath);
    bus_.unregisterService(serviceName_);
}

bool TStatusNotifierItem::Publish() {
    if (published_)
        return true;
    if (!bus_.registerService(serviceName_))
        return false;
    if (!bus_.registerObject(status_notifier::kItemPath, this,
                             QDBusConnection::ExportAllProperties |
                                 QDBusConnection::ExportAllSlots |
                                 QDBusConnection::ExportAllSignals)) {
        bus_.unregisterService(serviceName_);
        return false;
    }
    published_ = true;
    RegisterWithWatcher();
    return true;
}

void TStatusNotifierItem::RegisterWithWatcher() {
    if (!published_)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        status_notifier::kWatcherService, status_notifier::kWatcherPath,
        status_notifier::kWatcherInterface, QStringLiteral("RegisterStatusNotifierItem"));
    call << serviceName_;
    // Without a watcher there is nothing to register with; it is done when one comes.
    bus_.asyncCall(call);
}

void TStatusNotifierItem::SetIcon(const QIcon& icon) {
    if (icon.cacheKey() == iconKey_)
        return;
    iconKey_ = icon.cacheKey();
    pixmaps_ = StatusNotifierPixmaps(icon);
    emit NewIcon();
}

void TStatusNotifierItem::SetToolTip(const QString& tip) {
    if (tip == tip_)
        return;
    tip_ = tip;
    emit NewToolTip();
}

QString TStatusNotifierItem::Id() const {
    return QCoreApplication::applicationName();
}

QString TStatusNotifierItem::Title() const {
    return QCoreApplication::applicationName();
}

void TStatusNotifierItem::Activate(int x, int y) {
    Raise(QSystemTrayIcon::Trigger, x, y);
}

void TStatusNotifierItem::SecondaryActivate(int x, int y) {
    Raise(QSystemTrayIcon::MiddleClick, x, y);
}

void TStatusNotifierItem::ContextMenu(int x, int y) {
    Raise(QSystemTrayIcon::Context, x, y);
}

void TStatusNotifierItem::Scroll(int, const QString&) {
    // The tray component has no notification for the wheel; a scroll over the icon does nothing.
}

void TStatusNotifierItem::Raise(QSystemTrayIcon::ActivationReason reason, int x, int y) {
    if (OnActivate)
        OnActivate(reason, QPoint(x, y));
}

} // namespace quorvex::platform
