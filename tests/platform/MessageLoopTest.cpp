#include "platform/MessageLoop.h"

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
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    int calls = 0;
    QTimer::singleShot(0, &application, [&] { ++calls; });

    std::thread([] { ProcessMessages(); }).join();
    EXPECT_EQ(calls, 0);
    ProcessMessages();
    EXPECT_EQ(calls, 1);
}
