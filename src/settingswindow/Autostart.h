#pragma once

#include <string>

namespace quorvex::settingswindow {

// The desktop session starts Quorvex when this entry exists:
// $XDG_CONFIG_HOME/autostart/net.quorvex.Quorvex.desktop.
std::string AutostartEntryPath();

bool StartsWithSession();

// Writes the entry, starting `program` (an absolute path), or removes it. Throws Exception when
// the file cannot be written or removed.
void SetStartsWithSession(bool starts, const std::string& program);

} // namespace quorvex::settingswindow
