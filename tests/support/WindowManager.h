#pragma once

#include "support/ChildProcess.h"

#include <chrono>
#include <memory>
#include <string>

namespace quorvex::test_support {

// Starts openbox on `display` and waits until it manages the screen, starting it again should
// it give up, as it now and then does on a busy machine; null when it never came up in `limit`.
std::unique_ptr<ChildProcess> StartWindowManager(const std::string& display,
                                                 std::chrono::milliseconds limit);

} // namespace quorvex::test_support
