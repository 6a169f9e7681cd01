#include "translate/WebClient.h"

#include "support/LoopbackHttpServer.h"
#include "support/PendingConnectTarget.h"
#include "support/TestApplication.h"
#include "translate/MessagePump.h"

#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace quorvex::test_support;

namespace {

const std::string kOk = "HTTP/1.1 200 OK\r\n";

std::string GetBody(const ScriptedHttpServer& server, const std::string& target = "/") {
    TWebClient client;
    return client.Get(server.Url(target));
}

// Runs `call` and returns the EHTTPProtocolError it raises.
template <typename Call> EHTTPProtocolError ProtocolErrorOf(Call call) {
    try {
        call();
    } catch (const EHTTPProtocolError& failure) {
        return failure;
    }
    ADD_FAILURE() << "no EHTTPProtocolError";
    return EHTTPProtocolError(0, "", "");
}

// A Qt application for the tests that need an event loop.
class WithEventLoop : public ::testing::Test {
protected:
    // Creates a message pump as the client's callers set it up, and a timer counting its ticks.
    void StartPumpAndTimer() {
        pump_.emplace();
        pump_->OnlyWhenIdle = false;
        QObject::connect(&timer_, &QTimer::timeout, [this] { ++ticks_; });
        timer_.start(20);
    }

    TestApplication application_;
    std::optional<TMessagePump> pump_;
    QTimer timer_;
    int ticks_ = 0;
};

} // namespace

TEST(WebClientBytes, PostGoesOutAsHttp10FormWithTheHeadersInOrder) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::WithBody(200, "OK", "done"));
    TWebClient client;
    std::vector<std::string> lines{"langpair=en|zh-CN", "text=Hello world", "hl=zh-CN"};
    EXPECT_EQ(client.Post(server.Url("/translate_t"), lines), "done");
    EXPECT_EQ(lines[1], "text=Hello+world");

    const std::string body = "langpair=en%7Czh%2DCN&text=Hello+world&hl=zh%2DCN&";
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].Raw, "POST /translate_t HTTP/1.0\r\n"
                                        "Connection: keep-alive\r\n"
                                        "Content-Type: application/x-www-form-urlencoded\r\n"
                                        "Content-Length: " +
                                            std::to_string(body.size()) +
                                            "\r\n"
                                            "Host: " +
                                            server.Host() +
                                            "\r\n"
                                            "Accept: text/html, */*\r\n"
                                            "User-Agent: Mozilla/3.0 (compatible; Quorvex)\r\n"
                                            "\r\n" +
                                            body);
    EXPECT_EQ(client.ProtocolVersion, pv1_1);
}

TEST(WebClientBytes, GetGoesOutAsHttp11WithTheDefaultContentType) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::WithBody(200, "OK", "page"));
    TWebClient client;
    client.Request.Referer = "http://ref/";
    client.Request.UserAgent = "Agent/1";
    EXPECT_EQ(client.Get(server.Url("/s?ie=gb2312&wd=%C4%E3&ct=1048576")), "page");
    EXPECT_EQ(server.Requests().at(0).Raw, "GET /s?ie=gb2312&wd=%C4%E3&ct=1048576 HTTP/1.1\r\n"
                                           "Content-Type: text/html\r\n"
                                           "Host: " +
                                               server.Host() +
                                               "\r\n"
                                               "Accept: text/html, */*\r\n"
                                               "Referer: http://ref/\r\n"
                                               "User-Agent: Agent/1\r\n"
                                               "\r\n");
}

TEST(WebClientBytes, Http10GetAsksForKeepAliveAndCarriesNoLengthOfAnEarlierPost) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::WithBody(200, "OK", "posted"));
    server.Enqueue(Reply::WithBody(200, "OK", "got"));
    TWebClient client;
    std::vector<std::string> lines{"a=1", "b=2"};
    client.Post(server.Url("/p"), lines);
    client.ProtocolVersion = pv1_0;
    EXPECT_EQ(client.Get(server.Url("/g")), "got");
    const RecordedRequest get = server.Requests().at(1);
    EXPECT_EQ(get.Version, "HTTP/1.0");
    EXPECT_EQ(get.Headers.Value("Connection"), "keep-alive");
    EXPECT_FALSE(get.Headers.Has("Content-Length"));
}

TEST(WebClientBytes, OneLinePostHasNoAmpersandAndKeepProtocolKeepsHttp11) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::WithBody(200, "OK", ""));
    TWebClient client;
    client.HTTPOptions = hoKeepProtocol;
    std::vector<std::string> lines{"a=b c"};
    client.Post(server.Url("/p"), lines);
    const RecordedRequest request = server.Requests().at(0);
    EXPECT_EQ(request.Version, "HTTP/1.1");
    EXPECT_FALSE(request.Headers.Has("Connection"));
    EXPECT_EQ(request.Body, "a=b c");
}

TEST(WebClientReplies, InterimEmptyClosedChunkedAndPiecewiseBodiesComeBackWhole) {
    ScriptedHttpServer server;
    server.Enqueue(
        Reply::Raw("HTTP/1.1 100 Continue\r\n\r\n" + kOk + "Content-Length: 2\r\n\r\nok"));
    server.Enqueue(Reply::Raw("HTTP/1.1 204 No Content\r\n\r\n"));
    server.Enqueue(Reply::Raw(kOk + "Content-Length: 0\r\n\r\n"));
    server.Enqueue(Reply::Raw(kOk + "\r\nuntil").Delay(Milliseconds(30)).Send(" the close"));
    server.Enqueue(Reply::Raw(kOk + "Transfer-Encoding: chunked\r\n\r\n" +
                              ChunkedBody({"con", "cat", std::string(70000, 'z')})));
    server.Enqueue(Reply::Raw(kOk + "Content-Length: 6\r\n\r\nab")
                       .Delay(Milliseconds(30))
                       .Send("cd")
                       .Delay(Milliseconds(30))
                       .Send("ef"));
    EXPECT_EQ(GetBody(server), "ok");
    EXPECT_EQ(GetBody(server), "");
    EXPECT_EQ(GetBody(server), "");
    EXPECT_EQ(GetBody(server), "until the close");
    EXPECT_EQ(GetBody(server), "concat" + std::string(70000, 'z'));
    EXPECT_EQ(GetBody(server), "abcdef");
}

TEST(WebClientReplies, RedirectsAndRefusedStatusesFailWithTheStatusLine) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::WithBody(302, "Found", "moved", {"Location: http://elsewhere/"}));
    server.Enqueue(Reply::WithBody(200, "OK", "x", {"Location: /other"}));
    server.Enqueue(Reply::WithBody(404, "Not Found", "no such page"));
    server.Enqueue(Reply::WithBody(401, "Unauthorized", "", {"WWW-Authenticate: Basic"}));
    server.Enqueue(Reply::Raw("garbage\r\n\r\n"));

    EHTTPProtocolError redirect = ProtocolErrorOf([&] { GetBody(server); });
    EXPECT_EQ(redirect.Code(), 302);
    EXPECT_STREQ(redirect.what(), "HTTP/1.1 302 Found");
    EXPECT_EQ(ProtocolErrorOf([&] { GetBody(server); }).Code(), 200);
    EHTTPProtocolError missing = ProtocolErrorOf([&] { GetBody(server); });
    EXPECT_EQ(missing.Code(), 404);
    EXPECT_EQ(missing.Body(), "no such page");
    EXPECT_EQ(ProtocolErrorOf([&] { GetBody(server); }).Code(), 401);
    EXPECT_EQ(ProtocolErrorOf([&] { GetBody(server); }).Code(), -1);
    EXPECT_EQ(server.Requests().size(), 5u); // no redirect was followed
}

TEST(WebClientReplies, RefusedReplyThatNeverEndsIsAReadTimeout) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::Raw("HTTP/1.1 500 Oops\r\n\r\nstill sending").Delay(Milliseconds(60000)));
    auto started = std::chrono::steady_clock::now();
    EXPECT_THROW(GetBody(server), EReadTimeout);
    EXPECT_GE(std::chrono::steady_clock::now() - started, kRefusedReplyReadTimeout);
}

TEST(WebClientReplies, CutBodiesAndHeadsAreFailures) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::Raw(kOk + "Content-Length: 100\r\n\r\nshort").Close());
    server.Enqueue(
        Reply::Raw(kOk + "Transfer-Encoding: chunked\r\n\r\n" + ChunkedBody({"a"}, false)));
    server.Enqueue(Reply::Raw(kOk + "Content-Length: 5\r\n").Close());
    EXPECT_THROW(GetBody(server), EConnectionLost);
    EXPECT_THROW(GetBody(server), EConnectionLost);
    EXPECT_THROW(GetBody(server), EConnectionClosed);
}

TEST(WebClientReplies, ReadTimeoutSettingLimitsTheWaitForData) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::Raw(kOk).Delay(Milliseconds(60000)));
    TWebClient client;
    client.ReadTimeout = Milliseconds(100);
    EXPECT_THROW(client.Get(server.Url("/")), EReadTimeout);
}

TEST(WebClientConnection, KeptOnlyWhenTheReplyAllowsIt) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::WithBody(200, "OK", "1").KeepAlive());
    server.Enqueue(Reply::WithBody(200, "OK", "2", {"Connection: close"}));
    server.Enqueue(Reply::WithBody(200, "OK", "3"));
    server.Enqueue(Reply::WithBody(200, "OK", "4", {"Connection: keep-alive"}).KeepAlive());
    TWebClient client;
    EXPECT_EQ(client.Get(server.Url("/")), "1");
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(client.Get(server.Url("/")), "2");
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(server.ConnectionCount(), 1u);

    std::vector<std::string> lines{"a=1"};
    EXPECT_EQ(client.Post(server.Url("/"), lines), "3");
    EXPECT_FALSE(client.Connected()); // an HTTP/1.0 request needs keep-alive in the reply
    EXPECT_EQ(client.Post(server.Url("/"), lines), "4");
    EXPECT_TRUE(client.Connected());
    EXPECT_EQ(server.ConnectionCount(), 3u);
}

TEST(WebClientConnection, RefusedConnectionFailsAtOnce) {
    uint16_t closedPort;
    {
        platform::TcpListener listener;
        closedPort = listener.Port();
    }
    TWebClient client;
    try {
        client.Get("http://127.0.0.1:" + std::to_string(closedPort) + "/");
        FAIL() << "no failure";
    } catch (const EConnectError& failure) {
        EXPECT_EQ(failure.Code(), ECONNREFUSED);
        EXPECT_STREQ(failure.what(), "Socket error 111: Connection refused");
    }
}

TEST(WebClientConnection, PendingConnectionTimesOutAtTheLimit) {
    PendingConnectTarget target;
    TWebClient client;
    client.ConnectWaitLimit = Milliseconds(400);
    auto started = std::chrono::steady_clock::now();
    try {
        client.Get(target.Url("/"));
        FAIL() << "no failure";
    } catch (const EConnectTimeout& failure) {
        EXPECT_STREQ(failure.what(), "Connection timed out.");
    }
    EXPECT_GE(std::chrono::steady_clock::now() - started, Milliseconds(400));
    EXPECT_FALSE(client.Connected());
}

using WebClientWaits = WithEventLoop;

TEST_F(WebClientWaits, TimersKeepFiringWhileTheReplyIsDelayed) {
    ScriptedHttpServer server;
    server.Enqueue(
        Reply::Raw(kOk + "Content-Length: 4\r\n\r\n").Delay(Milliseconds(1500)).Send("late"));
    StartPumpAndTimer();
    EXPECT_EQ(GetBody(server), "late");
    EXPECT_GE(ticks_, 3);
}

TEST_F(WebClientWaits, TimersKeepFiringWhileTheConnectionIsPending) {
    PendingConnectTarget target;
    StartPumpAndTimer();
    TWebClient client;
    client.ConnectWaitLimit = Milliseconds(1000);
    EXPECT_THROW(client.Get(target.Url("/")), EConnectTimeout);
    EXPECT_GE(ticks_, 3);
}

TEST_F(WebClientWaits, WithoutAPumpNothingIsProcessed) {
    ScriptedHttpServer server;
    server.Enqueue(
        Reply::Raw(kOk + "Content-Length: 1\r\n\r\n").Delay(Milliseconds(300)).Send("x"));
    int ticks = 0;
    QTimer::singleShot(0, [&] { ++ticks; });
    EXPECT_EQ(GetBody(server), "x");
    EXPECT_EQ(ticks, 0);
}

TEST_F(WebClientWaits, AHandlerDuringTheWaitCanStartANestedRequest) {
    ScriptedHttpServer outerServer;
    ScriptedHttpServer innerServer;
    const Milliseconds outerDelay(4000);
    outerServer.Enqueue(
        Reply::Raw(kOk + "Content-Length: 5\r\n\r\n").Delay(outerDelay).Send("outer"));
    innerServer.Enqueue(Reply::WithBody(200, "OK", "inner").Delay(Milliseconds(100)));
    TMessagePump pump;
    pump.OnlyWhenIdle = false;
    std::string inner;
    auto started = std::chrono::steady_clock::now();
    std::chrono::steady_clock::duration innerDone{};
    QTimer::singleShot(50, [&] {
        TMessagePump nestedPump;
        nestedPump.OnlyWhenIdle = false;
        inner = GetBody(innerServer);
        innerDone = std::chrono::steady_clock::now() - started;
    });
    EXPECT_EQ(GetBody(outerServer), "outer");
    EXPECT_EQ(inner, "inner");
    EXPECT_LT(innerDone, outerDelay);            // it ran while the outer request still waited
    EXPECT_EQ(TMessagePump::Current(), nullptr); // the nested pump's release left none
}
