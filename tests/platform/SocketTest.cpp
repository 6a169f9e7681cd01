#include "platform/Socket.h"

#include "platform/ConnectAttempt.h"
#include "platform/SocketErrors.h"
#include "platform/TcpListener.h"
#include "support/PendingConnectTarget.h"
#include "support/Waiting.h"

#include <gtest/gtest.h>

using namespace quorvex::platform;
using quorvex::test_support::PendingConnectTarget;
using quorvex::test_support::PollUntil;

namespace {

constexpr Milliseconds kGenerousWait{20000};

StepWait Blocking() {
    return {};
}

// Connects a client to `listener` and returns both ends.
std::pair<TcpSocket, TcpSocket> ConnectedPair(TcpListener& listener) {
    TcpSocket client = Connect("127.0.0.1", listener.Port(), Blocking(), kGenerousWait);
    std::optional<TcpSocket> server = listener.Accept(kGenerousWait);
    EXPECT_TRUE(server.has_value());
    return {std::move(client), std::move(*server)};
}

// A loopback port where nothing listens: connecting to it is refused.
uint16_t ClosedPort() {
    TcpListener listener;
    return listener.Port();
}

std::string ReceiveUntilClosed(TcpSocket& socket) {
    std::string received;
    char buffer[1000];
    while (size_t count = socket.ReceiveSome(buffer, sizeof buffer, Blocking()))
        received.append(buffer, count);
    return received;
}

} // namespace

TEST(Socket, BytesTravelBothWaysAndCloseEndsTheStream) {
    TcpListener listener;
    auto [client, server] = ConnectedPair(listener);
    std::string large(3 * kSocketBufferSize + 17, 'x');
    client.SendAll(large);
    client.Close();
    EXPECT_EQ(ReceiveUntilClosed(server), large);

    server.SendAll("late");
    EXPECT_THROW(server.SendAll(std::string(4 * 1024 * 1024, 'y')), ESocketError);
}

TEST(Socket, StepHookRunsWhileWaitingAndReportsArrival) {
    TcpListener listener;
    auto [client, server] = ConnectedPair(listener);
    int emptySteps = 0;
    bool sawData = false;
    StepWait steps{Milliseconds(10), [&](bool ready) {
                       if (ready) {
                           sawData = true;
                       } else if (++emptySteps == 3) {
                           server.SendAll("ping");
                       }
                   }};
    char buffer[16];
    size_t count = client.ReceiveSome(buffer, sizeof buffer, steps);
    EXPECT_EQ(std::string(buffer, count), "ping");
    EXPECT_EQ(emptySteps, 3);
    EXPECT_TRUE(sawData);
}

TEST(Socket, ReadTimeoutRaisesAfterTheLimit) {
    TcpListener listener;
    auto [client, server] = ConnectedPair(listener);
    char buffer[16];
    EXPECT_THROW(client.ReceiveSome(buffer, sizeof buffer, Blocking(), Milliseconds(50)),
                 EReadTimeout);
}

TEST(Socket, ClosedSocketIsNotConnected) {
    TcpSocket socket;
    char buffer[4];
    EXPECT_THROW(socket.SendAll("x"), ENotConnected);
    EXPECT_THROW(socket.Receive(buffer, sizeof buffer, Milliseconds(0)), ENotConnected);
    try {
        socket.SendAll("x");
    } catch (const ENotConnected& failure) {
        EXPECT_STREQ(failure.what(), "Not connected");
    }
}

TEST(Socket, PeerCloseIsNoticedOnAnIdleSocket) {
    TcpListener listener;
    auto [client, server] = ConnectedPair(listener);
    EXPECT_FALSE(client.PeerClosedWhileIdle());
    server.Close();
    EXPECT_TRUE(PollUntil([&] { return client.PeerClosedWhileIdle(); }));
}

TEST(Connect, RefusedConnectionFailsAtOnceWithTheSocketError) {
    const uint16_t closedPort = ClosedPort();
    auto started = std::chrono::steady_clock::now();
    try {
        Connect("127.0.0.1", closedPort, {Milliseconds(125), [](bool) {}}, kGenerousWait);
        FAIL() << "connected to a closed port";
    } catch (const EConnectError& failure) {
        EXPECT_EQ(failure.Code(), ECONNREFUSED);
        EXPECT_EQ(std::string(failure.what()).rfind("Socket error 111: ", 0), 0u);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, kGenerousWait / 2);
}

TEST(Connect, PendingAttemptEndsInTimeoutAfterTheLimitWhileStepsRun) {
    PendingConnectTarget target;
    int steps = 0;
    auto started = std::chrono::steady_clock::now();
    EXPECT_THROW(Connect("127.0.0.1", target.Port(), {Milliseconds(25), [&](bool) { ++steps; }},
                         Milliseconds(300)),
                 EConnectTimeout);
    EXPECT_GE(std::chrono::steady_clock::now() - started, Milliseconds(300));
    EXPECT_GE(steps, 2);
    try {
        Connect("127.0.0.1", target.Port(), Blocking(), Milliseconds(50));
    } catch (const EConnectTimeout& failure) {
        EXPECT_STREQ(failure.what(), "Connection timed out.");
    }
}

TEST(ConnectAttempt, AddressesAreTriedInOrderUntilOneAccepts) {
    TcpListener listener;
    const std::vector<SocketAddress> refused = ResolveHost("127.0.0.1", ClosedPort());
    const std::vector<SocketAddress> accepting = ResolveHost("127.0.0.1", listener.Port());
    std::vector<SocketAddress> addresses = refused;
    addresses.insert(addresses.end(), accepting.begin(), accepting.end());
    ConnectAttempt attempt(addresses);
    ASSERT_TRUE(attempt.Wait(kGenerousWait));
    TcpSocket client = attempt.Take();
    std::optional<TcpSocket> server = listener.Accept(kGenerousWait);
    ASSERT_TRUE(server.has_value());
    client.SendAll("hi");
    client.Close();
    EXPECT_EQ(ReceiveUntilClosed(*server), "hi");
}

TEST(ConnectAttempt, FailsWithTheLastErrorWhenNoAddressAccepts) {
    const struct {
        std::vector<SocketAddress> addresses;
        int error;
    } cases[] = {
        {ResolveHost("127.0.0.1", ClosedPort()), ECONNREFUSED},
        {{ResolveHost("127.0.0.1", ClosedPort())[0], ResolveHost("127.0.0.1", ClosedPort())[0]},
         ECONNREFUSED},
        {{}, EADDRNOTAVAIL},
    };
    for (const auto& [addresses, error] : cases) {
        ConnectAttempt attempt(addresses);
        ASSERT_TRUE(attempt.Wait(kGenerousWait)) << addresses.size() << " addresses";
        try {
            attempt.Take();
            ADD_FAILURE() << "connected with " << addresses.size() << " addresses";
        } catch (const EConnectError& failure) {
            EXPECT_EQ(failure.Code(), error) << addresses.size() << " addresses";
        }
    }
}

TEST(ConnectAttempt, PendingAttemptIsNotFinishedAfterAShortWait) {
    PendingConnectTarget target;
    ConnectAttempt attempt(ResolveHost("127.0.0.1", target.Port()));
    EXPECT_FALSE(attempt.Wait(Milliseconds(20)));
    EXPECT_FALSE(attempt.Wait(Milliseconds::zero()));
    EXPECT_THROW(attempt.Take(), EConnectError);
}

TEST(Connect, UnresolvableHostFailsAsConnectError) {
    EXPECT_THROW(Connect("", 80, Blocking(), kGenerousWait), EConnectError);
}
