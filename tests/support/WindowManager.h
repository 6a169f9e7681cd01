#pragma once

#include "support/ChildProcess.h"
#include "support/TemporaryFolder.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::test_support {

// A window manager started for a test and the private home it keeps its settings in: both go
// away with the object.
class TestWindowManager {
public:
    TestWindowManager(TemporaryFolder home, std::unique_ptr<ChildProcess> process)
        : home_(std::move(home))
        , process_(std::move(process)) {}

private:
    // The window manager ends before its home goes.
    TemporaryFolder home_;
    std::unique_ptr<ChildProcess> process_;
};

// Starts a window manager on `display` ("openbox", "xfwm4", "fluxbox" or "kwin") and waits
// until it manages the screen, starting it again should it give up, as openbox now and then
// does on a busy machine; null when it never came up in `limit`. xfwm4 and KWin want a session
// bus, which `environment` ("NAME=value" entries) then names.
std::unique_ptr<TestWindowManager>
StartWindowManager(const std::string& display, std::chrono::milliseconds limit,
                   const std::string& name = "openbox",
                   const std::vector<std::string>& environment = {});

} // namespace quorvex::test_support
