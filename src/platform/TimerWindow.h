#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <unordered_map>

namespace quorvex::platform {

// A hidden object that runs message timers for its owner: each timer is named by the caller's
// own identifier, and its ticks arrive through the event loop of the thread that owns it.
class TTimerWindow : public QObject {
public:
    using TTimerId = std::uintptr_t;

    // Raised on every tick, with the caller's identifier of the timer.
    std::function<void(TTimerId id)> OnTimer;

    // Starts the timer `id`, replacing one of the same identifier; false when refused (a
    // negative period, say), and then no timer of that identifier runs.
    bool SetTimer(TTimerId id, int interval);
    // Stops the timer `id`; false when no such timer runs.
    bool KillTimer(TTimerId id);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    std::unordered_map<TTimerId, int> qtIds_;
    std::unordered_map<int, TTimerId> callerIds_;
};

} // namespace quorvex::platform
