#pragma once

#include <functional>
#include <optional>
#include <string>

namespace quorvex::platform {

// Placing the window, docking it at the top edge, keeping it on top and watching the
// clipboard in the background all need X11. On a Wayland desktop with XWayland the program
// therefore runs on xcb, unless QT_QPA_PLATFORM or QUORVEX_PLATFORM names a platform.

// The display platform to ask Qt for, from the environment `variable` reads; nothing to leave
// Qt's own choice alone.
std::optional<std::string>
ChosenDisplayPlatform(const std::function<const char*(const char* name)>& variable);

// Sets QT_QPA_PLATFORM as chosen; before the application object is made.
void ChooseDisplayPlatform();

// What does not work on the display platform Qt runs on, for a one-time note; empty when
// everything does.
std::string PlatformLimits(const std::string& platformName);

// Writes the note on standard error, once the application object exists.
void ReportPlatformLimits();

} // namespace quorvex::platform
