#pragma once

#include "platform/gui/StatusNotifierTypes.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>

namespace quorvex::platform {

// An icon shown by a desktop tray that speaks the StatusNotifierItem protocol (KDE Plasma,
// GNOME with its AppIndicator extension). Qt looks for such a tray once per process only; this
// item stands in when the tray appeared after that look. It owns a name of its own on the
// session bus, serves the item's properties there and registers with the tray's watcher, again
// whenever the watcher comes back. The host's requests arrive as the activations Qt would
// report, with the position the host gives.
class TStatusNotifierItem : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ Category)
    Q_PROPERTY(QString Id READ Id)
    Q_PROPERTY(QString Title READ Title)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(int WindowId READ WindowId)
    Q_PROPERTY(QString IconName READ IconName)
    Q_PROPERTY(quorvex::platform::TStatusNotifierPixmaps IconPixmap READ IconPixmap)
    Q_PROPERTY(quorvex::platform::TStatusNotifierToolTip ToolTip READ ToolTip)
    Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ Menu)

public:
    TStatusNotifierItem();
    ~TStatusNotifierItem() override;

    // Puts the item on the bus and registers it with the watcher; false when the bus refused.
    bool Publish();

    void SetIcon(const QIcon& icon);
    void SetToolTip(const QString& tip);

    // The host's request, as the activation it stands for and where it happened.
    std::function<void(QSystemTrayIcon::ActivationReason reason, QPoint pos)> OnActivate;

    QString Category() const { return QStringLiteral("ApplicationStatus"); }
    QString Id() const;
    QString Title() const;
    QString Status() const { return QStringLiteral("Active"); }
    int WindowId() const { return 0; }
    QString IconName() const { return {}; }
    TStatusNotifierPixmaps IconPixmap() const { return pixmaps_; }
    TStatusNotifierToolTip ToolTip() const { return {{}, {}, tip_, {}}; }
    bool ItemIsMenu() const { return false; }
    QDBusObjectPath Menu() const { return QDBusObjectPath("/NO_DBUSMENU"); }

public slots:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    void Scroll(int delta, const QString& orientation);

signals:
    void NewIcon();
    void NewToolTip();

private:
    void RegisterWithWatcher();
    void Raise(QSystemTrayIcon::ActivationReason reason, int x, int y);

    QDBusConnection bus_;
    QString serviceName_;
    QDBusServiceWatcher watcherWatch_;
    bool published_ = false;
    qint64 iconKey_ = 0;
    TStatusNotifierPixmaps pixmaps_;
    QString tip_;
};

} // namespace quorvex::platform
