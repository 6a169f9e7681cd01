#pragma once

#include <cstddef>
#include <string>

namespace quorvex {

// The longest tooltip the notification area takes, in bytes of the ANSI code page.
inline constexpr std::size_t kTrayTipLimit = 127;

// The tooltip for `hint`: its longest start that fits the limit in the ANSI code page without
// cutting a character in two; empty when hints are off.
std::string TrayTip(const std::string& hint, bool showHint);

} // namespace quorvex
