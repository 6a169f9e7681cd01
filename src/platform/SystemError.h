#pragma once

#include <string>

namespace quorvex::platform {

// The system's message text for the error number `code` (an errno value); empty for 0.
std::string SystemErrorText(int code);

} // namespace quorvex::platform
