#include "tray/SimpleTimer.h"

#include "platform/TimerWindow.h"

namespace quorvex {

namespace {

// Touched only on the user-interface thread.
TSimpleTimerHandler* currentHandler = nullptr;

} // namespace

TSimpleTimerHandler::TSimpleTimerHandler()
    : window_(std::make_unique<platform::TTimerWindow>()) {
    window_->OnTimer = [this](std::uintptr_t id) { TimerMessage(id); };
}

TSimpleTimerHandler::~TSimpleTimerHandler() = default;

TSimpleTimerHandler* TSimpleTimerHandler::Current() {
    return currentHandler;
}

TSimpleTimerHandler& TSimpleTimerHandler::Register() {
    if (currentHandler == nullptr)
        currentHandler = new TSimpleTimerHandler;
    ++currentHandler->objectCount_;
    return *currentHandler;
}

void TSimpleTimerHandler::Unregister() {
    if (currentHandler == nullptr)
        return;
    if (currentHandler->objectCount_ > 0)
        --currentHandler->objectCount_;
    if (currentHandler->objectCount_ == 0) {
        delete currentHandler;
        currentHandler = nullptr;
    }
}

void TSimpleTimerHandler::TimerMessage(std::uintptr_t id) {
    // The identifier is the timer itself, so the tick names its object directly.
    reinterpret_cast<TSimpleTimer*>(id)->Tick();
}

TSimpleTimer::TSimpleTimer()
    : TSimpleTimer(kDefaultInterval, {}) {}

TSimpleTimer::TSimpleTimer(int interval, TTimerEvent event)
    : id_(reinterpret_cast<std::uintptr_t>(this))
    , interval_(interval)
    , handler_(TSimpleTimerHandler::Register()) {
    SetOnTimer(std::move(event));
}

TSimpleTimer::~TSimpleTimer() {
    if (enabled_)
        Stop(true);
    TSimpleTimerHandler::Unregister();
}

std::unique_ptr<TSimpleTimer> TSimpleTimer::Create() {
    return std::make_unique<TSimpleTimer>();
}

std::unique_ptr<TSimpleTimer> TSimpleTimer::CreateWithEvent(int interval, TTimerEvent event) {
    return std::make_unique<TSimpleTimer>(interval, std::move(event));
}

bool TSimpleTimer::Start() {
    if (interval_ == 0)
        return false;
    if (enabled_)
        Stop(true);
    enabled_ = handler_.Window().SetTimer(id_, interval_);
    return enabled_;
}

bool TSimpleTimer::Stop(bool disable) {
    if (disable)
        enabled_ = false;
    return handler_.Window().KillTimer(id_);
}

void TSimpleTimer::SetEnabled(bool enabled) {
    if (enabled)
        Start();
    else
        Stop(true);
}

void TSimpleTimer::SetInterval(int interval) {
    if (interval == interval_)
        return;
    interval_ = interval;
    if (!enabled_)
        return;
    if (interval_ != 0)
        Start();
    else
        Stop(false);
}

void TSimpleTimer::SetOnTimer(TTimerEvent event) {
    onTimer_ = std::move(event);
    if (!onTimer_ && enabled_)
        Stop(false);
}

void TSimpleTimer::Tick() {
    if (AutoDisable)
        Stop(true);
    // A copy, so that a handler may replace the event or free the timer.
    if (const TTimerEvent event = onTimer_)
        event(*this);
}

} // namespace quorvex
