#include "translate/MessagePump.h"

#include "platform/MessageLoop.h"
#include "translate/RequestLimit.h"

#include <algorithm>
#include <atomic>

namespace quorvex {
namespace {

std::atomic<TMessagePump*> currentPump{nullptr};

} // namespace

TMessagePump::TMessagePump() {
    currentPump = this;
}

TMessagePump::~TMessagePump() {
    // A pump released out of order must not take a newer one with it.
    TMessagePump* self = this;
    currentPump.compare_exchange_strong(self, nullptr);
}

TMessagePump* TMessagePump::Current() {
    return currentPump;
}

void TMessagePump::AfterWait(bool dataArrived) const {
    if (Active && (!OnlyWhenIdle || !dataArrived))
        platform::ProcessMessages();
}

platform::StepWait MessagePumpSteps(std::optional<std::chrono::milliseconds> maxStep) {
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
