#pragma once

#include "platform/Socket.h"

#include <chrono>
#include <optional>

namespace quorvex {

inline constexpr std::chrono::milliseconds kDefaultWaitStep{250};

// Keeps the window alive while the HTTP client waits: the client processes messages between
// its short waits while a current pump exists. Creating a pump makes it the process-wide
// current one; releasing it leaves none until the next is created.
class TMessagePump {
public:
    TMessagePump();
    ~TMessagePump();
    TMessagePump(const TMessagePump&) = delete;
    TMessagePump& operator=(const TMessagePump&) = delete;

    static TMessagePump* Current();

    // After one wait of the client: processes messages when active and, with OnlyWhenIdle,
    // only when the wait ended without data.
    void AfterWait(bool dataArrived) const;

    bool Active = true;
    bool OnlyWhenIdle = true;
    std::chrono::milliseconds WaitStep = kDefaultWaitStep;
};

// The waits of one blocking step sequence: cut into steps of the pump's WaitStep (at most
// `maxStep` when given) while a message pump exists, each step handed to whatever pump is current
// then (a handler may replace it). A request limit in force is checked after every step, so it
// cuts the waits even without a pump.
platform::StepWait
MessagePumpSteps(std::optional<std::chrono::milliseconds> maxStep = std::nullopt);

} // namespace quorvex
