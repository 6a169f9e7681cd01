#include "translate/PumpSteps.h"

#include "translate/MessagePump.h"
#include "translate/RequestLimit.h"

#include <algorithm>

namespace quorvex {

platform::StepWait PumpSteps(std::optional<std::chrono::milliseconds> maxStep) {
    TMessagePump* pump = TMessagePump::Current();
    const bool pumping = pump != nullptr && pump->Active;
    if (!pumping && !TRequestLimit::InForce())
        return {};
    const std::chrono::milliseconds step = pumping ? pump->WaitStep : kDefaultWaitStep;
    return {maxStep ? std::min(step, *maxStep) : step, [](bool ready) {
                if (TMessagePump* current = TMessagePump::Current())
                    current->AfterWait(ready);
                TRequestLimit::Check();
            }};
}

} // namespace quorvex
