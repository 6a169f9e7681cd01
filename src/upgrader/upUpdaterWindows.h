#pragma once

#include "upgrader/upUpdaterDialogs.h"

#include <memory>

namespace quorvex {

// The controller's dialogs as the upgrader's own windows: its message boxes, the upgrade
// message dialog, the password dialog and the download wizard.
std::shared_ptr<TupUpdaterDialogs> UpgraderWindows();

} // namespace quorvex
