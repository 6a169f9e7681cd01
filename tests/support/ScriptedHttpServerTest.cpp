#include "support/LoopbackHttpServer.h"
#include "support/RawExchange.h"

#include <gtest/gtest.h>

using namespace quorvex::test_support;

namespace {

std::string Exchange(const ScriptedHttpServer& server, const std::string& request) {
    return ExchangeRaw(server.Port(), request);
}

} // namespace

TEST(ScriptedHttpServer, AnswersInOrderAndRecordsRawRequests) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::Raw("first").Delay(Milliseconds(20)).Send("+more"));
    server.Enqueue(Reply::WithBody(200, "OK", "body", {"X-A: 1"}));
    const std::string post = "POST /p HTTP/1.0\r\nContent-Length: 3\r\nHost: h\r\n\r\nabc";

    EXPECT_EQ(Exchange(server, post), "first+more");
    EXPECT_EQ(Exchange(server, "GET /g HTTP/1.1\n\n"),
              "HTTP/1.1 200 OK\r\nX-A: 1\r\nContent-Length: 4\r\n\r\nbody");
    EXPECT_NE(Exchange(server, "GET / HTTP/1.1\r\n\r\n").find(" 500 "), std::string::npos);

    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].Raw, post);
    EXPECT_EQ(requests[0].Method, "POST");
    EXPECT_EQ(requests[0].Target, "/p");
    EXPECT_EQ(requests[0].Version, "HTTP/1.0");
    EXPECT_EQ(requests[0].Headers.Value("host"), "h");
    EXPECT_EQ(requests[0].Body, "abc");
    EXPECT_EQ(requests[1].Raw, "GET /g HTTP/1.1\n\n");
}

TEST(ScriptedHttpServer, EarlyCloseSkipsTheRestAndKeepAliveServesTheNextRequest) {
    ScriptedHttpServer server;
    server.Enqueue(Reply::Raw("one").KeepAlive());
    server.Enqueue(Reply::Raw("two").Close().Send("never"));
    EXPECT_EQ(Exchange(server, "GET /1 HTTP/1.1\r\n\r\nGET /2 HTTP/1.1\r\n\r\n"), "onetwo");
    EXPECT_EQ(server.ConnectionCount(), 1u);
}

TEST(ChunkedBody, FramesEachChunkAndTheEnd) {
    EXPECT_EQ(ChunkedBody({"hello", std::string(26, 'z')}),
              "5\r\nhello\r\n1a\r\n" + std::string(26, 'z') + "\r\n0\r\n\r\n");
    EXPECT_EQ(ChunkedBody({"ab"}, false), "2\r\nab\r\n");
}
