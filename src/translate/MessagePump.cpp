#include "translate/MessagePump.h"

#include "platform/MessageLoop.h"

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

} // namespace quorvex
