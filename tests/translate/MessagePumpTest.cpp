#include "translate/MessagePump.h"

#include "support/TestApplication.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

using quorvex::TMessagePump;

TEST(TMessagePump, NewestIsCurrentAndReleasingItLeavesNone) {
    EXPECT_EQ(TMessagePump::Current(), nullptr);
    {
        TMessagePump outer;
        EXPECT_EQ(TMessagePump::Current(), &outer);
        {
            TMessagePump inner;
            EXPECT_EQ(TMessagePump::Current(), &inner);
        }
        EXPECT_EQ(TMessagePump::Current(), nullptr);
    }
    EXPECT_EQ(TMessagePump::Current(), nullptr);
}

TEST(TMessagePump, ProcessesAfterEveryWaitOrOnlyIdleOnesAndNeverWhenInactive) {
    quorvex::test_support::TestApplication application;
    int handled = 0;
    auto post = [&] { QTimer::singleShot(0, &application.Get(), [&] { ++handled; }); };
    TMessagePump pump;
    EXPECT_TRUE(pump.OnlyWhenIdle);
    EXPECT_EQ(pump.WaitStep, std::chrono::milliseconds(250));

    post();
    pump.AfterWait(true);
    EXPECT_EQ(handled, 0); // data arrived: an idle-only pump leaves the messages waiting
    pump.AfterWait(false);
    EXPECT_EQ(handled, 1);

    pump.OnlyWhenIdle = false;
    post();
    pump.AfterWait(true);
    EXPECT_EQ(handled, 2);

    pump.Active = false;
    post();
    pump.AfterWait(false);
    EXPECT_EQ(handled, 2);
}
