#pragma once

#include <string>

namespace quorvex::platform {

// The system's message text for the error number `code`: an errno value, or a negative
// resolver code (EAI_*) as a failed name resolution reports it; empty for 0.
std::string SystemErrorText(int code);

} // namespace quorvex::platform
