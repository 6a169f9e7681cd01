#pragma once

#include <functional>

class QObject;

namespace quorvex::platform {

// Runs `end` from the event loop, while `owner` lives, whenever SIGTERM, SIGINT or SIGHUP
// arrives: a desktop session, a terminal or a person ending the program with a signal gets
// the same orderly end as its own Exit (its state written, its tray icon taken away).
void HandleTerminationRequests(QObject& owner, std::function<void()> end);

} // namespace quorvex::platform
