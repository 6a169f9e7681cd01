#include "platform/TimerWindow.h"

#include <QTimerEvent>

namespace quorvex::platform {

bool TTimerWindow::SetTimer(TTimerId id, int interval) {
    KillTimer(id);
    if (interval < 0)
        return false;
    const int qtId = startTimer(interval);
    if (qtId == 0)
        return false;
    qtIds_[id] = qtId;
    callerIds_[qtId] = id;
    return true;
}

bool TTimerWindow::KillTimer(TTimerId id) {
    const auto found = qtIds_.find(id);
    if (found == qtIds_.end())
        return false;
    killTimer(found->second);
    callerIds_.erase(found->second);
    qtIds_.erase(found);
    return true;
}

void TTimerWindow::timerEvent(QTimerEvent* event) {
    // A tick already queued for a timer killed meanwhile names no timer any more.
    const auto found = callerIds_.find(event->timerId());
    if (found != callerIds_.end() && OnTimer)
        OnTimer(found->second);
}

} // namespace quorvex::platform
