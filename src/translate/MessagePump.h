#pragma once

#include <chrono>

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

} // namespace quorvex
