#include "support/Waiting.h"

namespace quorvex::test_support {

bool PollUntil(const std::function<bool()>& condition, Milliseconds limit) {
    constexpr Milliseconds kPollInterval{5};
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

} // namespace quorvex::test_support
