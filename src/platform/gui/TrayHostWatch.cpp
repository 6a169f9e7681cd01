#include "platform/gui/TrayHostWatch.h"

#include "platform/gui/Availability.h"

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
    SetAvailability(available_, qtTray_ || statusNotifier_.Available(), OnChange);
}

} // namespace quorvex::platform
