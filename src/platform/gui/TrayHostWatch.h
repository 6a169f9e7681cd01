#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace quorvex::platform {

// Watches whether the desktop has a notification area (a tray host) to put icons in. A tray
// host can start after the program (an autostarted program before the panel) and can go away
// and come back (the panel restarts), so availability is looked at again every so often.
class TTrayHostWatch : public QObject {
public:
    inline static constexpr int kCheckInterval = 500;

    TTrayHostWatch();

    bool Available() const { return available_; }
    // Raised when the host appears or goes away, with the new availability.
    std::function<void(bool available)> OnChange;

    // How availability is found out; the desktop's own tray unless replaced.
    std::function<bool()> Probe;
    // Looks at once, raising OnChange on a change.
    void Check();

private:
    QTimer checks_;
    bool available_;
};

} // namespace quorvex::platform
