#pragma once

#include <QString>
#include <string>

namespace quorvex::settingswindow {

// What the 测试 button shows for the service `name`: its translation of "Hello" (in the first
// language pair it serves, English to Chinese for most), or why it could not translate. Runs the
// real service with the settings as they are now; the window keeps working while it waits.
QString TryService(const std::string& name);

} // namespace quorvex::settingswindow
