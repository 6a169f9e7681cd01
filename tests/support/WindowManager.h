#pragma once

#include "support/ChildProcess.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::test_support {

// Starts a window manager on `display` ("openbox", "xfwm4", "fluxbox" or "kwin") and waits
// until it manages the screen, starting it again should it give up, as openbox now and then
// does on a busy machine; null when it never came up in `limit`. xfwm4 and KWin want a session
// bus, which `environment` ("NAME=value" entries) then names.
std::unique_ptr<ChildProcess> StartWindowManager(const std::string& display,
                                                 std::chrono::milliseconds limit,
                                                 const std::string& name = "openbox",
                                                 const std::vector<std::string>& environment = {});

} // namespace quorvex::test_support
