#include "upgrader/replacer/ProgramWait.h"

#include "platform/Environment.h"
#include "platform/ParentProcess.h"
#include "platform/ThreadPriority.h"
#include "platform/WriteAccess.h"

#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>

namespace quorvex::replacer {
namespace {

inline constexpr int kLowestPriority = -19; // nice 19
inline constexpr std::chrono::milliseconds kWaitStep{1};
// How long the program's file may stay busy once its own process has ended: another process
// still running the file (another user's, even a stopped one) must not hold the upgrade off.
inline constexpr const char* kBusyLimitVariable = "QUORVEX_REPLACER_BUSY_LIMIT_MS";
inline constexpr const char* kBusyLimitDefault = "60000";
// How long a restarted program must run before its upgrade counts as good.
inline constexpr const char* kComeUpLimitVariable = "QUORVEX_REPLACER_COME_UP_MS";
inline constexpr const char* kComeUpLimitDefault = "5000";

std::chrono::milliseconds LimitOr(const char* variable, const char* fallback) {
    try {
        return std::chrono::milliseconds(std::stoul(platform::EnvironmentOr(variable, fallback)));
    } catch (const std::logic_error&) {
        return std::chrono::milliseconds(std::stoul(fallback)); // not a number
    }
}

std::chrono::milliseconds BusyLimit() {
    return LimitOr(kBusyLimitVariable, kBusyLimitDefault);
}

// The waiting runs on a thread of its own: a lowered priority cannot be raised again without
// privileges, and what the replacer starts afterwards must not inherit it.
void AtLowestPriority(const std::function<void()>& work) {
    std::thread([&work] {
        platform::SetThreadPriority(platform::CurrentThreadId(), kLowestPriority);
        work();
    }).join();
}

// True when the file became free, false when `limit` passed first.
bool WaitUntilFreeHere(const std::string& path,
                       std::chrono::milliseconds limit = std::chrono::milliseconds::max()) {
    const auto start = std::chrono::steady_clock::now();
    do {
        // Compared in milliseconds: the default limit, the largest, has no nanosecond form.
        if (std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                  start) > limit)
            return false;
        std::this_thread::sleep_for(kWaitStep);
    } while (platform::ProbeWriteAccess(path) == platform::WriteAccess::Busy);
    return true;
}

} // namespace

void WaitUntilFree(const std::string& path) {
    AtLowestPriority([&path] { WaitUntilFreeHere(path); });
}

bool WaitForProgramEnd(const std::string& exePath) {
    bool free = false;
    AtLowestPriority([&] {
        if (const auto parent = platform::ParentProcess::IfRunning(exePath))
            parent->WaitForEnd();
        free = WaitUntilFreeHere(exePath, BusyLimit());
    });
    return free;
}

std::chrono::milliseconds ComeUpLimit() {
    return LimitOr(kComeUpLimitVariable, kComeUpLimitDefault);
}

} // namespace quorvex::replacer
