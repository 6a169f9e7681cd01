#include "platform/MessageLoop.h"

#include "support/TestApplication.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>
#include <thread>

using quorvex::platform::ProcessMessages;

TEST(ProcessMessages, DoesNothingWithoutAnApplication) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    ProcessMessages();
}

TEST(ProcessMessages, RunsPendingEventsOnlyOnTheApplicationThread) {
    quorvex::test_support::TestApplication application;
    int calls = 0;
    QTimer::singleShot(0, &application.Get(), [&] { ++calls; });

    std::thread([] { ProcessMessages(); }).join();
    EXPECT_EQ(calls, 0);
    ProcessMessages();
    EXPECT_EQ(calls, 1);
}
