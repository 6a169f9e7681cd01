#include "platform/gui/TrayHostWatch.h"

#include <QSystemTrayIcon>

namespace quorvex::platform {

TTrayHostWatch::TTrayHostWatch()
    : Probe(&QSystemTrayIcon::isSystemTrayAvailable)
    , qtTray_(Probe())
    , available_(qtTray_) {
    statusNotifier_.OnChange = [this](bool) { Check(); };
    connect(&checks_, &QTimer::timeout, this, &TTrayHostWatch::Check);
    checks_.start(kCheckInterval);
}

void TTrayHostWatch::Check() {
    qtTray_ = Probe();
    const bool available = qtTray_ || statusNotifier_.Available();
    if (available == available_)
        return;
    available_ = available;
    if (OnChange)
        OnChange(available);
}

} // namespace quorvex::platform
