#include "platform/gui/TrayHostWatch.h"

#include <QSystemTrayIcon>

namespace quorvex::platform {

TTrayHostWatch::TTrayHostWatch()
    : Probe(&QSystemTrayIcon::isSystemTrayAvailable)
    , available_(Probe()) {
    connect(&checks_, &QTimer::timeout, this, &TTrayHostWatch::Check);
    checks_.start(kCheckInterval);
}

void TTrayHostWatch::Check() {
    const bool available = Probe();
    if (available == available_)
        return;
    available_ = available;
    if (OnChange)
        OnChange(available);
}

} // namespace quorvex::platform
