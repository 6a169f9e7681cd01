#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvex {

// The text `quorvex --version` or `quorvex --help` prints before ending; nothing for any other
// command line, whose arguments keep their meaning for the window.
std::optional<std::string> CommandLineInfo(const std::vector<std::string>& arguments);

} // namespace quorvex
