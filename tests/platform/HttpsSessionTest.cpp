#include "platform/HttpsSession.h"

#include "support/ScopedEnvironment.h"
#include "support/ScriptedHttpsServer.h"
#include "support/TestCertificates.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace quorvex::test_support;
using platform::EHttpsFailure;
using platform::HttpsSession;
using testing::HasSubstr;

namespace {

class HttpsSessionTest : public testing::Test {
protected:
    // What the session raises for a GET of `target`; empty when it got a reply.
    std::string FailureOf(HttpsSession& session, const std::string& url,
                          const platform::StepWait& steps = {}) {
        try {
            session.Get(url, {}, steps);
        } catch (const EHttpsFailure& failure) {
            return failure.what();
        }
        return {};
    }

    ScriptedHttpsServer server_;
    ScopedEnvironment trust_{"SSL_CERT_FILE", TestCertificateFiles().AuthorityFile};
    HttpsSession session_;
};

TEST_F(HttpsSessionTest, RefusesAServerWhoseCertificateItDoesNotTrust) {
    const ScopedEnvironment systemStoreOnly("SSL_CERT_FILE", std::nullopt);
    EXPECT_THAT(FailureOf(session_, server_.Url("/")), HasSubstr("证书不受信任"));
    EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(HttpsSessionTest, ReturnsStatusAndBodyOfEveryReply) {
    for (const int status : {200, 400, 429, 503}) {
        server_.Enqueue(Reply::WithBody(status, "Scripted", "body " + std::to_string(status)));
        const platform::HttpsReply reply = session_.Get(server_.Url("/a?q=1"));
        EXPECT_EQ(reply.Status, status);
        EXPECT_EQ(reply.Body, "body " + std::to_string(status));
    }
}

TEST_F(HttpsSessionTest, NoProxyGoesDirectWhateverTheEnvironmentNames) {
    // Nothing listens on port 1: a request through this proxy fails at once.
    const ScopedEnvironment proxy("https_proxy", "http://127.0.0.1:1");
    const ScopedEnvironment exceptions("no_proxy", std::nullopt);
    EXPECT_THAT(FailureOf(session_, server_.Url("/")), testing::Not(testing::IsEmpty()));
    session_.SetProxy(platform::kNoProxy);
    server_.Enqueue(Reply::WithBody(200, "OK", "direct"));
    EXPECT_EQ(session_.Get(server_.Url("/")).Body, "direct");
}

TEST_F(HttpsSessionTest, PostsTheBodyWithItsTypeAndHeaders) {
    server_.Enqueue(Reply::WithBody(200, "OK", "{}"));
    session_.Post(server_.Url("/translate"), "application/json", R"({"q":"词"})",
                  {"Accept: application/json"});
    const RecordedRequest request = server_.Requests().at(0);
    EXPECT_EQ(request.Method, "POST");
    EXPECT_EQ(request.Target, "/translate");
    EXPECT_EQ(request.Headers.Value("Content-Type"), "application/json");
    EXPECT_EQ(request.Headers.Value("Accept"), "application/json");
    EXPECT_EQ(request.Body, R"({"q":"词"})");
}

TEST_F(HttpsSessionTest, RequestsOfOneSessionShareOneConnection) {
    for (int i = 0; i < 3; ++i) {
        server_.Enqueue(Reply::WithBody(200, "OK", "fine").KeepAlive());
        session_.Get(server_.Url("/"));
    }
    EXPECT_EQ(server_.ConnectionCount(), 1u); // one TLS handshake
}

TEST_F(HttpsSessionTest, NeverFollowsARedirectToPlainHttp) {
    server_.Enqueue(
        Reply::WithBody(302, "Found", "", {"Location: http://127.0.0.1:1/plain"}).KeepAlive());
    EXPECT_THAT(FailureOf(session_, server_.Url("/")), HasSubstr("HTTPS"));
    EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST_F(HttpsSessionTest, GivesUpAfterItsTimeLimit) {
    HttpsSession hasty(std::chrono::seconds(1));
    server_.Enqueue(Reply().Delay(std::chrono::seconds(5)));
    EXPECT_THAT(FailureOf(hasty, server_.Url("/")), HasSubstr("1 秒内没有回答"));
}

TEST_F(HttpsSessionTest, RunsTheStepsWhileItWaitsAndStopsWhenOneThrows) {
    server_.Enqueue(Reply().Delay(std::chrono::seconds(10)));
    int steps = 0;
    const platform::StepWait abandonAfterThree{std::chrono::milliseconds(20), [&](bool) {
                                                   if (++steps == 3)
                                                       throw Exception("abandoned");
                                               }};
    EXPECT_THROW(session_.Get(server_.Url("/"), {}, abandonAfterThree), Exception);
    EXPECT_EQ(steps, 3);
}

} // namespace
