#pragma once

#include <string>
#include <vector>

namespace quorvex::settings {

// The program's one settings file, $XDG_CONFIG_HOME/Quorvex/Quorvex.conf (INI). Every read opens
// it again, so a change written by the settings window applies to the next translation.
std::string FilePath();

// The value of `key` ("Google/Url"): the environment variable `environmentOverride` when it is
// set and not empty (tests and scripts use these), else the file's value, else `fallback`.
std::string Value(const std::string& key, const char* environmentOverride,
                  const std::string& fallback = {});

// A comma-separated list value ("Services/Order"), read as Value() reads; blanks around the
// items are dropped, and so are empty items.
std::vector<std::string> ListValue(const std::string& key, const char* environmentOverride,
                                   const std::vector<std::string>& fallback);

// Writes `value` under `key`, creating the file (mode 0600: it holds service keys) and its folder
// when they do not exist yet. Throws Exception when the file cannot be written.
void Write(const std::string& key, const std::string& value);

} // namespace quorvex::settings
