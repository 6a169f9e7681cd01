#pragma once

#include <string>
#include <string_view>

namespace quorvex::platform {

// Text lives in memory as UTF-8. GBK (code page 936) is the form whose bytes go on the wire
// to the Chinese services and whose byte counts the window's thresholds use.

// Converts UTF-8 to GBK; a character GBK cannot hold, or a malformed byte, becomes '?'.
std::string Utf8ToGbk(std::string_view utf8);

// True when GBK holds every character of the UTF-8 `utf8`, so that Utf8ToGbk loses nothing.
bool GbkHoldsAll(std::string_view utf8);

// Converts GBK to UTF-8; a byte sequence that is not GBK becomes '?'.
std::string GbkToUtf8(std::string_view gbk);

} // namespace quorvex::platform
