#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <functional>

namespace quorvex::platform {

// Watches whether the desktop has a StatusNotifierItem tray on the session bus: its watcher is
// there and says a host (the panel that shows the items) has registered with it.
class TStatusNotifierWatch : public QObject {
    Q_OBJECT

public:
    TStatusNotifierWatch();

    bool Available() const { return available_; }
    // Raised when the tray appears or goes away, with the new availability.
    std::function<void(bool available)> OnChange;

private slots:
    void Refresh();

private:
    void WatcherGone();
    void Set(bool available);

    QDBusConnection bus_;
    QDBusServiceWatcher watcherWatch_;
    bool available_ = false;
    // Answers to an earlier question that arrive after a later one was asked are stale.
    unsigned question_ = 0;
};

} // namespace quorvex::platform
