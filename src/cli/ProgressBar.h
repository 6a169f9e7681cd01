#pragma once

#include <cstdint>
#include <string>

namespace quorvex::cli {

// The figures the transfer component hands to its progress event.
struct ProgressFigures {
    std::uint32_t totalSize = 0; // 0: not known
    std::uint32_t bytesRead = 0;
    std::int32_t timeLeft = 0; // seconds
    std::uint8_t percentDone = 0;
    float transferRate = 0; // KB/s
};

// One progress line: a bar with the percentage, the rate and the time left, or (size not
// known) the bytes so far and the rate. No line break.
std::string ProgressLine(const ProgressFigures& figures);

} // namespace quorvex::cli
