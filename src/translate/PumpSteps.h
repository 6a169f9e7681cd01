#pragma once

#include "platform/Socket.h"

#include <chrono>
#include <optional>

namespace quorvex {

// The waits of one blocking request: cut into steps of the message pump's WaitStep (at most
// `maxStep` when given) while a pump exists, each step handed to whatever pump is current then
// (a handler may replace it). A request limit in force is checked after every step, so it cuts
// the waits even without a pump. With neither, one plain blocking wait.
platform::StepWait PumpSteps(std::optional<std::chrono::milliseconds> maxStep = std::nullopt);

} // namespace quorvex
