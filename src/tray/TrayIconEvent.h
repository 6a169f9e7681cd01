#pragma once

#include "tray/TrayIcon.h"

namespace quorvex {

// Calls `event` with `sender` when it is set.
inline void Raise(const TTrayIconEvent& event, TTrayIcon& sender) {
    if (event)
        event(sender);
}

} // namespace quorvex
