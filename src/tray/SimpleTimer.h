#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace quorvex {

namespace platform {
class TTimerWindow;
}

class TSimpleTimer;

// The one hidden timer window of the process, shared by every simple timer: it lives from
// the first timer's creation to the last one's destruction.
class TSimpleTimerHandler {
public:
    TSimpleTimerHandler();
    ~TSimpleTimerHandler();
    TSimpleTimerHandler(const TSimpleTimerHandler&) = delete;
    TSimpleTimerHandler& operator=(const TSimpleTimerHandler&) = delete;

    // The handler of the process; null while no simple timer exists.
    static TSimpleTimerHandler* Current();
    std::uint32_t ObjectCount() const { return objectCount_; }
    platform::TTimerWindow& Window() { return *window_; }

private:
    friend class TSimpleTimer;
    static TSimpleTimerHandler& Register();
    static void Unregister();
    void TimerMessage(std::uintptr_t id);

    std::uint32_t objectCount_ = 0;
    std::unique_ptr<platform::TTimerWindow> window_;
};

// A small timer raising OnTimer every Interval milliseconds through the shared timer window.
// Created and freed in code; a new timer is not running.
class TSimpleTimer {
public:
    using TTimerEvent = std::function<void(TSimpleTimer& sender)>;

    inline static constexpr int kDefaultInterval = 1000;

    TSimpleTimer();
    TSimpleTimer(int interval, TTimerEvent event);
    ~TSimpleTimer();
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;

    static std::unique_ptr<TSimpleTimer> Create();
    static std::unique_ptr<TSimpleTimer> CreateWithEvent(int interval, TTimerEvent event);

    // Starts or restarts the timer; false when the interval is 0 or the platform refused.
    bool Start();
    // Stops the platform timer; only with `disable` does the timer stop counting as started.
    bool Stop(bool disable);

    std::uintptr_t Id() const { return id_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int Interval() const { return interval_; }
    // A new period restarts a started timer; 0 holds it (Enabled stays true) until the next
    // non-zero period.
    void SetInterval(int interval);
    const TTimerEvent& OnTimer() const { return onTimer_; }
    // Clearing the event holds a started timer, as a zero period does.
    void SetOnTimer(TTimerEvent event);

    // A one-shot: the timer stops itself before raising its event.
    bool AutoDisable = false;

private:
    friend class TSimpleTimerHandler;
    void Tick();

    std::uintptr_t id_;
    bool enabled_ = false;
    int interval_;
    TTimerEvent onTimer_;
    TSimpleTimerHandler& handler_;
};

} // namespace quorvex
