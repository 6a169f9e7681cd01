#include "platform/Environment.h"

#include <cstdlib>

namespace quorvex::platform {

std::string EnvironmentOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

std::string ConfigHome() {
    return EnvironmentOr("XDG_CONFIG_HOME", EnvironmentOr("HOME", "/root") + "/.config");
}

std::string DataHome() {
    return EnvironmentOr("XDG_DATA_HOME", EnvironmentOr("HOME", "/root") + "/.local/share");
}

} // namespace quorvex::platform
