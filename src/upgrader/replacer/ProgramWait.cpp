#include "upgrader/replacer/ProgramWait.h"

#include "platform/ParentProcess.h"
#include "platform/ThreadPriority.h"
#include "platform/WriteAccess.h"

#include <chrono>
#include <functional>
#include <thread>

namespace quorvex::replacer {
namespace {

inline constexpr int kLowestPriority = -19; // nice 19
inline constexpr std::chrono::milliseconds kWaitStep{1};

// The waiting runs on a thread of its own: a lowered priority cannot be raised again without
// privileges, and what the replacer starts afterwards must not inherit it.
void AtLowestPriority(const std::function<void()>& work) {
    std::thread([&work] {
        platform::SetThreadPriority(platform::CurrentThreadId(), kLowestPriority);
        work();
    }).join();
}

void WaitUntilFreeHere(const std::string& path) {
    do
        std::this_thread::sleep_for(kWaitStep);
    while (platform::ProbeWriteAccess(path) == platform::WriteAccess::Busy);
}

} // namespace

void WaitUntilFree(const std::string& path) {
    AtLowestPriority([&path] { WaitUntilFreeHere(path); });
}

void WaitForProgramEnd(const std::string& exePath) {
    AtLowestPriority([&exePath] {
        if (const auto parent = platform::ParentProcess::IfRunning(exePath))
            parent->WaitForEnd();
        WaitUntilFreeHere(exePath);
    });
}

} // namespace quorvex::replacer
