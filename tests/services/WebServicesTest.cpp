#include "http/FormDecoding.h"
#include "platform/Crypto.h"
#include "services/ServiceRegistry.h"
#include "support/ScriptedHttpsServer.h"
#include "support/WebServiceSettings.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace quorvex;
using namespace quorvex::services;
using namespace quorvex::test_support;
using testing::AllOf;
using testing::HasSubstr;

namespace {

const TLanguagePair& Pair(std::string_view code) {
    return *std::find_if(kLanguagePairs.begin(), kLanguagePairs.end(),
                         [&](const TLanguagePair& pair) { return pair.Code == code; });
}

class WebServicesTest : public testing::Test {
protected:
    void Answer(int status, const std::string& body) {
        server_.Enqueue(Reply::WithBody(status, "Scripted", body).KeepAlive());
    }
    std::string Translate(const std::string& name, std::string_view pair, const std::string& text) {
        return CreateService(name)->Translate(Pair(pair), text);
    }
    // The reason the service gives for the next scripted reply; empty when it translated.
    std::string FailureOf(const std::string& name, int status, const std::string& body) {
        Answer(status, body);
        try {
            Translate(name, "en|zh-CN", "Hello");
        } catch (const ServiceFailure& failure) {
            return failure.what();
        }
        return {};
    }
    RecordedRequest Request(size_t index) const { return server_.Requests().at(index); }
    std::map<std::string, std::string> Fields(size_t index) const {
        const RecordedRequest request = Request(index);
        return DecodeForm(request.Method == "GET" ? request.Query() : request.Body);
    }

    ScriptedHttpsServer server_;
    WebServiceSettings settings_{server_.Url(""), "app-1", "secret"};
};

TEST_F(WebServicesTest, GoogleJoinsTheSegmentsAndSkipsTransliteration) {
    Answer(200, R"([[["Hello, ","你好，",null,null,10],[null,null,"Nǐ hǎo"],)"
                R"(["world","世界",null,null,10]],null,"zh-CN"])");
    EXPECT_EQ(Translate("google", "zh|en", "你好，世界"), "Hello, world");
    EXPECT_EQ(Request(0).Method, "GET");
    EXPECT_EQ(Request(0).Path(), "/translate_a/single");
    const std::map<std::string, std::string> expected{
        {"client", "gtx"}, {"sl", "zh-CN"}, {"tl", "en"},       {"dt", "t"},
        {"ie", "UTF-8"},   {"oe", "UTF-8"}, {"q", "你好，世界"}};
    EXPECT_EQ(Fields(0), expected);
}

TEST_F(WebServicesTest, GooglePostsLongQueriesAndSendsVeryLongTextsInPiecesInOrder) {
    struct Case {
        size_t Sentences;
        std::vector<std::string> Methods;
    };
    const std::string sentence = "This is sentence number one of many. "; // 37 characters
    for (const Case& test :
         {Case{10, {"GET"}}, Case{100, {"POST"}}, Case{300, {"POST", "POST", "GET"}}}) {
        std::string text;
        for (size_t i = 0; i < test.Sentences; ++i)
            text += sentence;
        const size_t first = server_.Requests().size();
        for (size_t i = 0; i < test.Methods.size(); ++i)
            Answer(200, "[[[\"" + std::to_string(i) + "\"]]]");
        EXPECT_EQ(Translate("google", "en|fr", text),
                  std::string("012").substr(0, test.Methods.size()));
        std::string sent;
        for (size_t i = 0; i < test.Methods.size(); ++i) {
            EXPECT_EQ(Request(first + i).Method, test.Methods[i]);
            const std::string piece = Fields(first + i)["q"];
            EXPECT_LE(QString::fromStdString(piece).size(), 5000);
            EXPECT_TRUE(piece.ends_with(". ")) << "cut after a sentence end";
            sent += piece;
        }
        EXPECT_EQ(sent, text);
    }
    EXPECT_EQ(Request(1).Headers.Value("Content-Type"), "application/x-www-form-urlencoded");
}

TEST_F(WebServicesTest, GoogleNamesRefusalsAndOtherFailures) {
    struct Case {
        int Status;
        std::string Body;
        std::vector<std::string> Reason;
    };
    for (const Case& test : std::vector<Case>{
             {429, "", {"暂时拒绝", "HTTP 429"}},
             {503, "Unavailable", {"暂时拒绝", "HTTP 503"}},
             {200, "<html>sorry</html>", {"暂时拒绝", "HTTP 200"}},
             {500, "[]", {"错误 HTTP 500"}},
             {200, "not json", {"不是 JSON"}},
             {200, R"({"a":1})", {"无法识别"}},
         }) {
        const std::string reason = FailureOf("google", test.Status, test.Body);
        for (const std::string& part : test.Reason)
            EXPECT_THAT(reason, HasSubstr(part)) << test.Status << " " << test.Body;
    }
}

TEST_F(WebServicesTest, LibreTranslatePostsJsonWithTheKeyOnlyWhenSet) {
    Answer(200, R"({"translatedText":"简体"})");
    EXPECT_EQ(Translate("libretranslate", "zh-TW|zh-CN", "繁體"), "简体");
    {
        const ScopedEnvironment key("QUORVEX_LIBRETRANSLATE_KEY", "k-1");
        Answer(200, R"({"translatedText":"hola"})");
        EXPECT_EQ(Translate("libretranslate", "en|es", "hello"), "hola");
    }
    const auto body = [&](size_t index) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(Request(index).Body)).object();
    };
    EXPECT_EQ(Request(0).Path(), "/translate");
    EXPECT_EQ(Request(0).Headers.Value("Content-Type"), "application/json");
    EXPECT_EQ(body(0),
              (QJsonObject{{"q", "繁體"}, {"source", "zt"}, {"target", "zh"}, {"format", "text"}}));
    EXPECT_EQ(body(1).value("api_key").toString(), "k-1");
}

TEST_F(WebServicesTest, LibreTranslateReasonsCarryTheServersTextAndStatus) {
    for (const int status : {400, 403, 429, 500})
        EXPECT_THAT(FailureOf("libretranslate", status, R"({"error":"Slow down"})"),
                    AllOf(HasSubstr("Slow down"), HasSubstr("HTTP " + std::to_string(status))));
    EXPECT_THAT(FailureOf("libretranslate", 502, "<html>"), HasSubstr("HTTP 502"));
    EXPECT_THAT(FailureOf("libretranslate", 200, "{}"), HasSubstr("translatedText"));
    const ScopedEnvironment noUrl("QUORVEX_LIBRETRANSLATE_URL", std::nullopt);
    EXPECT_FALSE(CreateService("libretranslate")->Configured());
}

TEST_F(WebServicesTest, BaiduSignsTheFormAndJoinsTheLines) {
    Answer(200, R"({"from":"en","to":"jp","trans_result":[{"src":"a","dst":"あ"},)"
                R"({"src":"b c","dst":"い う"}]})");
    EXPECT_EQ(Translate("baidu", "en|ja", "a\nb c"), "あ\nい う");
    auto fields = Fields(0);
    EXPECT_EQ(Request(0).Path(), "/api/trans/vip/translate");
    EXPECT_EQ(fields["q"], "a\nb c");
    EXPECT_EQ(fields["from"], "en");
    EXPECT_EQ(fields["to"], "jp");
    EXPECT_EQ(fields["appid"], "app-1");
    EXPECT_EQ(fields["sign"], platform::Md5Hex("app-1a\nb c" + fields["salt"] + "secret"));
}

TEST_F(WebServicesTest, BaiduReasonsNameTheCodeAndMessageEvenWithStatus200) {
    EXPECT_THAT(FailureOf("baidu", 200, R"({"error_code":"54001","error_msg":"Invalid Sign"})"),
                AllOf(HasSubstr("54001"), HasSubstr("Invalid Sign"), HasSubstr("Baidu/Key")));
    EXPECT_THAT(FailureOf("baidu", 200, R"({"error_code":52003,"error_msg":"UNAUTHORIZED"})"),
                AllOf(HasSubstr("52003"), HasSubstr("UNAUTHORIZED")));
    EXPECT_THAT(FailureOf("baidu", 500, "oops"), HasSubstr("HTTP 500"));
    EXPECT_THAT(FailureOf("baidu", 200, R"({"from":"en"})"), HasSubstr("trans_result"));
    const ScopedEnvironment noKey("QUORVEX_BAIDU_KEY", std::nullopt);
    EXPECT_FALSE(CreateService("baidu")->Configured());
}

TEST(ServiceRegistry, MakesEveryNamedServiceAndNamesTheKnownOnesForAnyOther) {
    for (const std::string& name : ServiceNames())
        EXPECT_EQ(CreateService(name)->Name(), name);
    EXPECT_THAT([] { CreateService("bing"); },
                testing::ThrowsMessage<ServiceFailure>(
                    AllOf(HasSubstr("bing"), HasSubstr("libretranslate"))));
}

} // namespace
