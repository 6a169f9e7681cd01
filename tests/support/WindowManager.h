#pragma once

#include "support/ChildProcess.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quorvex::test_support {

// A window manager started for a test and the private home it keeps its settings in: both go
// away with the object.
class TestWindowManager {
public:
    TestWindowManager(std::unique_ptr<ChildProcess> process, std::filesystem::path home);
    ~TestWindowManager();
    TestWindowManager(const TestWindowManager&) = delete;
    TestWindowManager& operator=(const TestWindowManager&) = delete;

private:
    std::unique_ptr<ChildProcess> process_;
    std::filesystem::path home_;
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
