#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvex::settingswindow {

// Reads settings a person may have edited by hand. A value its key cannot take is ignored (the
// caller's default holds) and reported once on standard error, so a broken file never stops
// the program; the settings window says how many were ignored and that nothing else was lost.

// A whole number from minimum to maximum; nothing when absent or bad.
std::optional<int> IntegerSetting(const std::string& key, int minimum, int maximum);

// "true" or "false"; nothing when absent or bad.
std::optional<bool> BooleanSetting(const std::string& key);

// A comma-separated list of names out of `known`, in the file's order; unknown and repeated
// names are dropped. `fallback` when the key is absent or nothing valid is left.
std::vector<std::string> NamesSetting(const std::string& key, const char* environmentOverride,
                                      const std::vector<std::string>& known,
                                      const std::vector<std::string>& fallback);

// Reports `value` of `key` as ignored, with the reason, once per process.
void ReportIgnoredSetting(const std::string& key, const std::string& value,
                          const std::string& reason);

// How many different bad values have been ignored so far.
int IgnoredSettingCount();

} // namespace quorvex::settingswindow
