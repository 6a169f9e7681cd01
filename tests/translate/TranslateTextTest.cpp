#include "translate/TranslateText.h"

#include "support/TranslationServer.h"
#include "translate/LanguagePairs.h"
#include "translate/ServiceHosts.h"

#include <gtest/gtest.h>

using namespace quorvex;
using namespace quorvex::test_support;

namespace {

const std::string kStart(kResultStartMarker);
const std::string kEnd(kResultEndMarker);
const std::string kEnglishToChinese = "英语 翻译成 中文(简体) BETA";
const std::string kChineseToEnglish = "中文(简体) 翻译成 英语 BETA";

class TranslateTextTest : public ::testing::Test {
protected:
    void ReplyWithPage(const std::string& page) {
        server_.Enqueue(
            Reply::WithBody(200, "OK", page, {"Content-Type: text/html; charset=UTF-8"}));
    }
    RecordedRequest LastRequest() { return server_.Requests().back(); }

    ScriptedHttpServer& server_ = TranslationServer();
};

} // namespace

TEST_F(TranslateTextTest, HelloWorldGoesOutByteForByteAndTheCutTranslationComesBack) {
    ReplyWithPage("<html>" + kStart + " 你好世界 " + kEnd + "</html>");
    TStringList result;
    result.Add("old");
    TranslateText(kEnglishToChinese, "Hello world", result);
    EXPECT_EQ(result.Text(), " 你好世界 \n");

    const RecordedRequest request = LastRequest();
    const std::string body =
        "langpair=en%7Czh%2DCN&text=Hello+world&hl=zh%2DCN&ie=UTF8&complete=1&ewwindow=1&oe=UTF8&";
    EXPECT_EQ(body.size(), 88u);
    EXPECT_EQ(request.Raw, "POST /translate_t HTTP/1.0\r\n"
                           "Connection: keep-alive\r\n"
                           "Content-Type: application/x-www-form-urlencoded\r\n"
                           "Content-Length: 88\r\n"
                           "Host: " +
                               server_.Host() +
                               "\r\n"
                               "Accept: text/html, */*\r\n"
                               "User-Agent: Mozilla/3.0 (compatible; Quorvex)\r\n"
                               "\r\n" +
                               body);
}

TEST_F(TranslateTextTest, ChineseTextTravelsAsPercentEncodedUtf8) {
    ReplyWithPage(kStart + "Hello" + kEnd);
    TStringList result;
    TranslateText(kChineseToEnglish, "你好", result);
    EXPECT_EQ(result.Lines(), std::vector<std::string>{"Hello"});
    EXPECT_EQ(LastRequest().Body, "langpair=zh%7Cen&text=%E4%BD%A0%E5%A5%BD&hl=zh%2DCN&ie=UTF8&"
                                  "complete=1&ewwindow=1&oe=UTF8&");
}

TEST_F(TranslateTextTest, LineBreaksAndFormCharactersInTheTextAreEncoded) {
    ReplyWithPage("");
    TStringList result;
    TranslateText("not a caption", "a&b=c+d\r\ne", result);
    EXPECT_EQ(LastRequest().Body, "langpair=&text=a%26b%3Dc%2Bd%0D%0Ae&hl=zh%2DCN&ie=UTF8&"
                                  "complete=1&ewwindow=1&oe=UTF8&");
    EXPECT_EQ(result.Text(), "\n"); // a page without the markers leaves one empty line
}

TEST_F(TranslateTextTest, BrokenUtf8PageGivesAnEmptyLine) {
    ReplyWithPage(kStart + "ok \xE4\xBD" + kEnd);
    TStringList result;
    result.Add("earlier");
    TranslateText(kEnglishToChinese, "x", result);
    EXPECT_EQ(result.Lines(), std::vector<std::string>{""});
}

TEST_F(TranslateTextTest, FailuresLeaveErrorAloneInTheBox) {
    ReplyWithPage(kStart + "first" + kEnd);
    server_.Enqueue(Reply::WithBody(503, "Busy", ""));
    server_.Enqueue(Reply::WithBody(302, "Found", "", {"Location: /elsewhere"}));
    TStringList result;
    TranslateText(kEnglishToChinese, "one", result);
    TranslateText(kEnglishToChinese, "two", result);
    EXPECT_EQ(result.Text(), "Error\n");
    TranslateText(kEnglishToChinese, "three", result);
    EXPECT_EQ(result.Text(), "Error\n");
}

TEST(ExtractTranslation, CutsBetweenTheMarkersWithTheClampingRules) {
    EXPECT_EQ(ExtractTranslation("x" + kStart + "  both  " + kEnd + "y" + kEnd), "  both  ");
    // No start marker: the cut starts at position 29 and ends before the end marker.
    const std::string page = std::string(39, '.').replace(28, 11, "elevenchars") + kEnd;
    EXPECT_EQ(ExtractTranslation(page), "elevenchars");
    EXPECT_EQ(ExtractTranslation(kStart + "no end"), "");
    // The end marker is searched from the start of the page, so an earlier one decides.
    EXPECT_EQ(ExtractTranslation(kEnd + kStart + "after" + kEnd), "");
    EXPECT_EQ(ExtractTranslation(""), "");
    EXPECT_EQ(ExtractTranslation(kStart + kEnd), "");
    EXPECT_EQ(ExtractTranslation(kStart + "<b>&amp;</b>" + kEnd), "<b>&amp;</b>");
}

TEST(DecodeUtf8Page, KeepsWellFormedTextAndEmptiesBrokenSequences) {
    EXPECT_EQ(DecodeUtf8Page("abc 你好 \xF0\x9F\x98\x80"), "abc 你好 \xF0\x9F\x98\x80");
    EXPECT_EQ(DecodeUtf8Page("abc \xE4\xBD"), "");
    EXPECT_EQ(DecodeUtf8Page("abc \xE4"
                             "a"
                             "\xA0 tail"),
              "");
    EXPECT_EQ(DecodeUtf8Page("stray \x80 byte"), "stray ? byte");
    EXPECT_EQ(DecodeUtf8Page(""), "");
}

TEST(LanguageCodeForCaption, MatchesWholeCaptionsByteForByte) {
    EXPECT_EQ(LanguageCodeForCaption(kEnglishToChinese), "en|zh-CN");
    EXPECT_EQ(LanguageCodeForCaption("法语 翻译成 英语"), "fr|en");
    EXPECT_EQ(LanguageCodeForCaption("日语 翻译成 英语 BETA"), "ja|en");
    EXPECT_EQ(LanguageCodeForCaption(kEnglishToChinese + " "), "");
    EXPECT_EQ(LanguageCodeForCaption("英语 翻译成 中文（简体） BETA"), ""); // full-width brackets
    EXPECT_EQ(LanguageCodeForCaption(""), "");
}

TEST(ComboBoxCaptions, OffersEightPairsInItemOrder) {
    const std::vector<std::string> captions = ComboBoxCaptions();
    ASSERT_EQ(captions.size(), 8u);
    EXPECT_EQ(captions.front(), kEnglishToChinese);
    EXPECT_EQ(captions[1], kChineseToEnglish);
    EXPECT_EQ(captions.back(), "日语 翻译成 英语 BETA");
}

TEST(ReadServiceHosts, TakesTheEnvironmentOrThePublicHosts) {
    setenv("QUORVEX_SEARCH_HOST", "127.0.0.1:9", 1);
    setenv("QUORVEX_DICT_HOST", "", 1);
    const TServiceHosts hosts = ReadServiceHosts();
    EXPECT_EQ(hosts.Search, "127.0.0.1:9");
    EXPECT_EQ(hosts.Dict, "dict.baidu.com");
    unsetenv("QUORVEX_SEARCH_HOST");
    unsetenv("QUORVEX_DICT_HOST");
}
