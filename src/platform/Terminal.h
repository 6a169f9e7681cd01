#pragma once

#include <optional>
#include <string>

namespace quorvex::platform {

// Shows prompt on the controlling terminal and reads one line from it, without echoing it
// when hidden; nullopt when the process has no terminal.
std::optional<std::string> AskOnTerminal(const std::string& prompt, bool hidden);

} // namespace quorvex::platform
