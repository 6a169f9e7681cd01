#include "support/XvfbDisplay.h"

#include "platform/Exception.h"
#include "support/Waiting.h"

#include <filesystem>

namespace quorvex::test_support {

namespace {

inline constexpr int kFirstDisplay = 140;
inline constexpr int kLastDisplay = 400;
inline constexpr const char* kScreenSize = "1280x800x24";

bool DisplayInUse(int number) {
    const std::string n = std::to_string(number);
    return std::filesystem::exists("/tmp/.X11-unix/X" + n) ||
           std::filesystem::exists("/tmp/.X" + n + "-lock");
}

} // namespace

XvfbDisplay::XvfbDisplay() {
    for (int number = kFirstDisplay; number <= kLastDisplay; ++number) {
        if (DisplayInUse(number))
            continue;
        name_ = ":" + std::to_string(number);
        server_ = std::make_unique<ChildProcess>(std::vector<std::string>{
            "Xvfb", name_, "-screen", "0", kScreenSize, "-nolisten", "tcp"});
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        if (PollUntil([&] { return std::filesystem::exists(socket) || !server_->Running(); }) &&
            server_->Running())
            return;
    }
    throw Exception("No X display could be started with Xvfb");
}

} // namespace quorvex::test_support
