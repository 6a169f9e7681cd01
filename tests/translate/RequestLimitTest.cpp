#include "translate/RequestLimit.h"

#include "support/SilentServer.h"
#include "support/TestApplication.h"
#include "translate/MessagePump.h"
#include "translate/WebClient.h"

#include <QTimer>
#include <cerrno>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using test_support::SilentServer;

std::string GetFrom(const SilentServer& server) {
    TWebClient client;
    return client.Get("http://" + server.Host() + "/");
}

TEST(RequestLimit, UnansweredRequestFailsOnceTheLimitHasPassedWithOrWithoutAPump) {
    test_support::TestApplication application;
    SilentServer server;
    for (const bool pumping : {false, true}) {
        std::optional<TMessagePump> pump;
        if (pumping)
            pump.emplace();
        const TRequestLimit limit(300ms);
        try {
            GetFrom(server);
            ADD_FAILURE() << "no failure";
        } catch (const ERequestTimedOut& failure) {
            EXPECT_EQ(failure.Code(), ETIMEDOUT);
        }
    }
    EXPECT_FALSE(TRequestLimit::InForce());
}

TEST(RequestLimit, AbandoningEndsTheWaitingRequestAndTheOuterLimitStaysInForce) {
    test_support::TestApplication application;
    SilentServer server;
    TMessagePump pump;
    pump.OnlyWhenIdle = false;
    const TRequestLimit outer(10min);
    {
        const TRequestLimit inner(10min);
        QTimer::singleShot(0, [] { TRequestLimit::AbandonAll(); });
        EXPECT_THROW(GetFrom(server), ERequestAbandoned);
    }
    EXPECT_TRUE(TRequestLimit::InForce());
    // Abandoning reached the outer limit too: a request under it ends at its first step.
    EXPECT_THROW(GetFrom(server), ERequestAbandoned);
}

TEST(RequestLimit, WithoutALimitNothingIsChecked) {
    EXPECT_FALSE(TRequestLimit::InForce());
    TRequestLimit::AbandonAll();
    EXPECT_NO_THROW(TRequestLimit::Check());
}

} // namespace
} // namespace quorvex
