#include "upgrader/upResources.h"

#include <QtGlobal>

// Outside any namespace, as the registration requires.
static void RegisterUpgraderResources() {
    Q_INIT_RESOURCE(upgrader);
}

namespace quorvex {

void InitUpgraderResources() {
    static const bool registered = (RegisterUpgraderResources(), true);
    static_cast<void>(registered);
}

} // namespace quorvex
