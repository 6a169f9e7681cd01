#pragma once

#include <optional>
#include <string>

namespace quorvex::platform {

// Bytes compiled into the program as the Qt resource ":/<type>/<name>"; nullopt when absent.
std::optional<std::string> LoadResource(const std::string& name, const std::string& type);

} // namespace quorvex::platform
