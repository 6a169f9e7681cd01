#include "standin/Standin.h"

#include "http/HttpRequest.h"
#include "standin/Glossary.h"
#include "standin/TranslateService.h"
#include "support/RawExchange.h"
#include "translate/TranslateText.h"
#include "translate/WebClient.h"

#include <gtest/gtest.h>

using namespace quorvex;

namespace {

std::string Exchange(const TStandin& standin, const std::string& request) {
    return test_support::ExchangeRaw(standin.Port(), request);
}

std::string StatusLineOf(const std::string& reply) {
    return reply.substr(0, reply.find("\r\n"));
}

std::string PostTranslation(const TStandin& standin, std::vector<std::string> lines) {
    TWebClient client;
    return client.Post("http://127.0.0.1:" + std::to_string(standin.Port()) + "/translate_t",
                       lines);
}

} // namespace

TEST(Glossary, TranslatesKnownWordsAndKeepsTheRest) {
    EXPECT_EQ(EnglishToChinese("Hello world"), "你好世界");
    EXPECT_EQ(EnglishToChinese("HELLO, Quorvex world!"), "你好, Quorvex 世界!");
    EXPECT_EQ(EnglishToChinese("  spaced  "), "  spaced  ");
    EXPECT_EQ(ChineseToEnglish("你好，世界。"), "hello, world.");
    EXPECT_EQ(ChineseToEnglish("我爱中国"), "I love China");
    EXPECT_EQ(ChineseToEnglish("我的朋友们"), "my friends"); // the longest entry wins
    EXPECT_EQ(ChineseToEnglish("猫 and 你"), "猫 and you");
    EXPECT_EQ(ChineseToEnglish("\xE4\xBD"), "\xE4\xBD"); // a cut character stays as it is
}

TEST(Standin, AnswersTheClientsFormWithThePageTheClientCuts) {
    TStandin standin;
    const std::string page =
        PostTranslation(standin, {"langpair=en|zh-CN", "text=Hello <world>\r\n& good", "hl=zh-CN"});
    EXPECT_EQ(ExtractTranslation(DecodeUtf8Page(page)), "你好 &lt;世界&gt;<br>&amp; 好");
    const std::string back = PostTranslation(standin, {"langpair=zh|en", "text=你好"});
    EXPECT_EQ(ExtractTranslation(back), "hello");
    EXPECT_EQ(ExtractTranslation(PostTranslation(standin, {"langpair=en|fr", "text=merci"})),
              "merci");
}

TEST(Standin, BadRequestsGetA400SayingWhy) {
    TStandin standin;
    const std::string noText =
        "POST /translate_t HTTP/1.0\r\nContent-Length: 13\r\n\r\nlangpair=en|x";
    std::string reply = Exchange(standin, noText);
    EXPECT_EQ(StatusLineOf(reply), "HTTP/1.1 400 Bad Request");
    EXPECT_NE(reply.find("the form has no text field"), std::string::npos);

    EXPECT_EQ(StatusLineOf(Exchange(standin, "POST /translate_t HTTP/1.0\r\nContent-Length: "
                                             "6\r\n\r\ntext=x")),
              "HTTP/1.1 400 Bad Request"); // no language pair
    EXPECT_EQ(StatusLineOf(Exchange(standin, "POST /translate_t HTTP/1.0\r\nContent-Length: "
                                             "99999999999999\r\n\r\n")),
              "HTTP/1.0 400 Bad Request");
    EXPECT_EQ(StatusLineOf(Exchange(standin, std::string(kMaxLineLength + 10, 'x'))),
              "HTTP/1.0 400 Bad Request");
    EXPECT_EQ(StatusLineOf(Exchange(standin, "GET /translate_t HTTP/1.1\r\n\r\n")),
              "HTTP/1.1 405 Method Not Allowed");
    EXPECT_EQ(StatusLineOf(Exchange(standin, "GET /nothing HTTP/1.1\r\n\r\n")),
              "HTTP/1.1 404 Not Found");
    EXPECT_EQ(Exchange(standin, "\r\n\r\n\r\n").substr(0, 12), "HTTP/1.1 404");
    // Still serving after all of that.
    EXPECT_EQ(ExtractTranslation(PostTranslation(standin, {"langpair=en|zh-CN", "text=book"})),
              "书");
}

TEST(ReadRequest, EndlessHeaderLinesAreABadRequest) {
    std::string request = "GET / HTTP/1.1\r\n";
    while (request.size() <= kMaxHeadLength)
        request += "X-Filler: " + std::string(100, 'f') + "\r\n";
    request += "\r\n";
    TByteReader reader([&request, position = size_t{0}](char* buffer, size_t size) mutable {
        size_t count = request.copy(buffer, size, position);
        position += count;
        return count;
    });
    EXPECT_THROW(ReadRequest(reader), EBadRequest);
}

TEST(TranslationPage, HoldsBothMarkers) {
    const std::string page = TranslationPage("en|zh-CN", "hi");
    EXPECT_NE(page.find(std::string(kResultStartMarker) + "你好" + std::string(kResultEndMarker)),
              std::string::npos);
    EXPECT_THROW(TranslationPage("", "hi"), EBadRequest);
    EXPECT_THROW(TranslationPage("en|", "hi"), EBadRequest);
}
