#pragma once

#include <string>

namespace quorvex::platform {

// The value of the environment variable `name`, or `fallback` when it is unset or empty.
std::string EnvironmentOr(const char* name, const std::string& fallback = {});

// The user's configuration folder: $XDG_CONFIG_HOME, else $HOME/.config.
std::string ConfigHome();

// The user's data folder: $XDG_DATA_HOME, else $HOME/.local/share.
std::string DataHome();

} // namespace quorvex::platform
