#pragma once

#include "platform/gui/StatusNotifierWatch.h"

#include <QObject>
#include <QTimer>
#include <functional>

namespace quorvex::platform {

// Watches whether the desktop has a notification area (a tray host) to put icons in. A tray
// host can start after the program (an autostarted program before the panel) and can go away
// and come back (the panel restarts), so availability is looked at again every so often.
// Qt's own tray looks for a StatusNotifierItem tray once per process only; one that appears
// later counts too, and is then served by an item of our own.
class TTrayHostWatch : public QObject {
public:
    inline static constexpr int kCheckInterval = 500;

    TTrayHostWatch();

    bool Available() const { return available_; }
    // Icons must go to the StatusNotifierItem tray through an item of our own, as Qt's tray
    // has no place to offer.
    bool OwnStatusNotifierTray() const { return !qtTray_ && statusNotifier_.Available(); }
    // Raised when the host appears or goes away, with the new availability.
    std::function<void(bool available)> OnChange;

    // How the availability of Qt's tray is found out; Qt's own answer unless replaced.
    std::function<bool()> Probe;
    // Looks at once, raising OnChange on a change.
    void Check();

private:
    QTimer checks_;
    TStatusNotifierWatch statusNotifier_;
    bool qtTray_;
    bool available_;
};

} // namespace quorvex::platform
