#include "tray/SimpleTimer.h"

#include "support/Pumping.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using test_support::PumpFor;
using test_support::PumpUntil;

inline constexpr int kShort = 20;
inline constexpr int kNever = 3600000;

// A timer that counts its ticks.
struct CountingTimer {
    explicit CountingTimer(int interval)
        : timer(interval, [this](TSimpleTimer& sender) {
            EXPECT_EQ(&sender, &timer);
            ++ticks;
        }) {}
    int ticks = 0;
    TSimpleTimer timer;
};

TEST(SimpleTimer, NewTimersAreStoppedWithTheirIntervalAndTheirOwnId) {
    const auto plain = TSimpleTimer::Create();
    EXPECT_FALSE(plain->Enabled());
    EXPECT_EQ(plain->Interval(), 1000);
    EXPECT_FALSE(plain->OnTimer());
    EXPECT_FALSE(plain->AutoDisable);
    EXPECT_EQ(plain->Id(), reinterpret_cast<std::uintptr_t>(plain.get()));
    const auto withEvent = TSimpleTimer::CreateWithEvent(kShort, [](TSimpleTimer&) {});
    EXPECT_FALSE(withEvent->Enabled());
    EXPECT_EQ(withEvent->Interval(), kShort);
    EXPECT_TRUE(withEvent->OnTimer());
}

TEST(SimpleTimer, TicksOnceStartedAndNoMoreOnceStopped) {
    CountingTimer counting(kShort);
    EXPECT_TRUE(counting.timer.Start());
    EXPECT_TRUE(counting.timer.Enabled());
    ASSERT_TRUE(PumpUntil([&] { return counting.ticks >= 2; }));
    EXPECT_TRUE(counting.timer.Stop(true));
    EXPECT_FALSE(counting.timer.Enabled());
    const int ticks = counting.ticks;
    PumpFor(100ms);
    EXPECT_EQ(counting.ticks, ticks);
    EXPECT_FALSE(counting.timer.Stop(true)) << "no platform timer was left to kill";
}

TEST(SimpleTimer, ZeroOrRefusedIntervalsNeverStart) {
    for (const int interval : {0, -1}) {
        CountingTimer counting(interval);
        counting.timer.SetEnabled(true);
        EXPECT_FALSE(counting.timer.Enabled()) << interval;
        EXPECT_FALSE(counting.timer.Start()) << interval;
        PumpFor(50ms);
        EXPECT_EQ(counting.ticks, 0) << interval;
    }
}

TEST(SimpleTimer, SettingTheSameIntervalDoesNotRestartThePeriod) {
    CountingTimer counting(200);
    counting.timer.SetEnabled(true);
    // Were each setting a restart, the 200 ms period would never run out.
    QTimer resetter;
    QObject::connect(&resetter, &QTimer::timeout, [&] { counting.timer.SetInterval(200); });
    resetter.start(20);
    EXPECT_TRUE(PumpUntil([&] { return counting.ticks > 0; }));
}

TEST(SimpleTimer, ANewIntervalRestartsARunningTimer) {
    CountingTimer counting(kNever);
    counting.timer.SetEnabled(true);
    counting.timer.SetInterval(kShort);
    EXPECT_TRUE(PumpUntil([&] { return counting.ticks > 0; }));
    EXPECT_TRUE(counting.timer.Enabled());
}

TEST(SimpleTimer, ZeroIntervalOrClearedEventHoldsARunningTimerUntilANewInterval) {
    for (const bool clearEvent : {false, true}) {
        SCOPED_TRACE(clearEvent ? "cleared event" : "zero interval");
        CountingTimer counting(kShort);
        counting.timer.SetEnabled(true);
        const auto event = counting.timer.OnTimer();
        if (clearEvent)
            counting.timer.SetOnTimer({});
        else
            counting.timer.SetInterval(0);
        EXPECT_TRUE(counting.timer.Enabled());
        PumpFor(100ms);
        EXPECT_EQ(counting.ticks, 0);
        EXPECT_FALSE(counting.timer.Stop(false)) << "a held timer has no platform timer";
        EXPECT_TRUE(counting.timer.Enabled());
        counting.timer.SetOnTimer(event);
        counting.timer.SetInterval(clearEvent ? kShort + 1 : kShort);
        EXPECT_TRUE(PumpUntil([&] { return counting.ticks >= 2; }));
    }
}

TEST(SimpleTimer, OneShotStopsItselfBeforeItsEvent) {
    TSimpleTimer* seen = nullptr;
    bool enabledInEvent = true;
    int ticks = 0;
    TSimpleTimer timer(kShort, [&](TSimpleTimer& sender) {
        seen = &sender;
        enabledInEvent = sender.Enabled();
        ++ticks;
    });
    timer.AutoDisable = true;
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return ticks > 0; }));
    PumpFor(100ms);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(seen, &timer);
    EXPECT_FALSE(enabledInEvent);
    EXPECT_FALSE(timer.Enabled());
}

TEST(SimpleTimer, AHandlerMayFreeItsOwnTimer) {
    auto timer = TSimpleTimer::CreateWithEvent(kShort, {});
    timer->SetOnTimer([&](TSimpleTimer&) { timer.reset(); });
    timer->Start();
    EXPECT_TRUE(PumpUntil([&] { return timer == nullptr; }));
}

TEST(SimpleTimerHandler, OneSharedHandlerLivesFromTheFirstTimerToTheLast) {
    ASSERT_EQ(TSimpleTimerHandler::Current(), nullptr);
    auto first = TSimpleTimer::Create();
    TSimpleTimerHandler* handler = TSimpleTimerHandler::Current();
    ASSERT_NE(handler, nullptr);
    EXPECT_EQ(handler->ObjectCount(), 1u);
    auto second = TSimpleTimer::Create();
    EXPECT_EQ(TSimpleTimerHandler::Current(), handler);
    EXPECT_EQ(handler->ObjectCount(), 2u);
    first.reset();
    EXPECT_EQ(handler->ObjectCount(), 1u);
    second.reset();
    EXPECT_EQ(TSimpleTimerHandler::Current(), nullptr);
    // A timer made afterwards gets a working handler of its own.
    CountingTimer counting(kShort);
    ASSERT_NE(TSimpleTimerHandler::Current(), nullptr);
    counting.timer.Start();
    EXPECT_TRUE(PumpUntil([&] { return counting.ticks > 0; }));
}

} // namespace
} // namespace quorvex
