#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QIcon>
#include <QList>
#include <QMetaType>
#include <QString>

namespace quorvex::platform {

// The names under which a desktop's StatusNotifierItem tray is reached on the session bus.
namespace status_notifier {
inline constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";
inline constexpr const char* kWatcherPath = "/StatusNotifierWatcher";
inline constexpr const char* kWatcherInterface = "org.kde.StatusNotifierWatcher";
inline constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";
inline constexpr const char* kItemPath = "/StatusNotifierItem";
} // namespace status_notifier

// One image of an icon as a StatusNotifierItem host reads it: ARGB32 pixels, each in network
// byte order.
struct TStatusNotifierPixmap {
    int Width = 0;
    int Height = 0;
    QByteArray Pixels;
};
using TStatusNotifierPixmaps = QList<TStatusNotifierPixmap>;

struct TStatusNotifierToolTip {
    QString IconName;
    TStatusNotifierPixmaps Pixmaps;
    QString Title;
    QString Text;
};

// The icon at the sizes panels commonly draw.
TStatusNotifierPixmaps StatusNotifierPixmaps(const QIcon& icon);

QDBusArgument& operator<<(QDBusArgument& argument, const TStatusNotifierPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, TStatusNotifierPixmap& pixmap);
QDBusArgument& operator<<(QDBusArgument& argument, const TStatusNotifierToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& argument, TStatusNotifierToolTip& tip);

// Makes the types known to QtDBus; safe to call more than once.
void RegisterStatusNotifierTypes();

} // namespace quorvex::platform

Q_DECLARE_METATYPE(quorvex::platform::TStatusNotifierPixmap)
Q_DECLARE_METATYPE(quorvex::platform::TStatusNotifierToolTip)
