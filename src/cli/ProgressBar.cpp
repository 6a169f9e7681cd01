#include "cli/ProgressBar.h"

#include <algorithm>
#include <cstdio>

namespace quorvex::cli {
namespace {

inline constexpr int kBarWidth = 30;

std::string Clock(std::int32_t seconds) {
    if (seconds < 0)
        seconds = 0;
    char text[32];
    std::snprintf(text, sizeof(text), "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

} // namespace

std::string ProgressLine(const ProgressFigures& figures) {
    char line[160];
    const float rate = std::max(figures.transferRate, 0.0f);
    if (figures.totalSize == 0) {
        std::snprintf(line, sizeof(line), "%10u bytes  %9.1f KB/s", figures.bytesRead, rate);
        return line;
    }
    const int percent = std::min<int>(figures.percentDone, 100);
    const int filled = percent * kBarWidth / 100;
    const std::string bar =
        std::string(static_cast<size_t>(filled), '#') + std::string(kBarWidth - filled, '.');
    std::snprintf(line, sizeof(line), "[%s] %3d%%  %9.1f KB/s  %s left", bar.c_str(), percent, rate,
                  Clock(figures.timeLeft).c_str());
    return line;
}

} // namespace quorvex::cli
