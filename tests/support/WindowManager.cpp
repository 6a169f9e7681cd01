#include "support/WindowManager.h"

#include "support/Waiting.h"

namespace quorvex::test_support {

std::unique_ptr<ChildProcess> StartWindowManager(const std::string& display,
                                                 std::chrono::milliseconds limit) {
    std::unique_ptr<ChildProcess> windowManager;
    const bool managing = PollUntil(
        [&] {
            if (windowManager == nullptr || !windowManager->Running())
                windowManager =
                    std::make_unique<ChildProcess>(std::vector<std::string>{"openbox"},
                                                   std::vector<std::string>{"DISPLAY=" + display});
            return RunCommand("DISPLAY=" + display +
                              " xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null")
                       .find("window id") != std::string::npos;
        },
        limit);
    return managing ? std::move(windowManager) : nullptr;
}

} // namespace quorvex::test_support
