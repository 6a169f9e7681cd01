#include "standin/SearchService.h"

#include "platform/TextCodec.h"
#include "standin/Standin.h"
#include "support/RawExchange.h"
#include "translate/Dictionary.h"

#include <gtest/gtest.h>

using namespace quorvex;

namespace {

class TRecordingPanel final : public TDictionaryPanel {
public:
    void ShowHtmlInPanel(const std::string& html) override { Page = platform::GbkToUtf8(html); }
    void ShowUtf8HtmlInPanel(const std::string& html) override { Page = html; }
    void ShowMessage(const std::string& text) override { Message = text; }
    std::string Page;
    std::string Message;
};

std::string EntryFor(const std::string& word) {
    TDictionaryEntry entry = CutDictionaryEntry(SearchPage(word));
    return entry.Kind == TDictionaryEntry::dkEntry ? entry.Text : "(" + entry.Text + ")";
}

} // namespace

TEST(SearchPage, GlossaryWordsHaveAnEntryOthersTheNoEntryMarker) {
    EXPECT_EQ(EntryFor("hello"), "<div class=ptitle>hello</div><div class=pexplain>你好</div>");
    EXPECT_EQ(EntryFor("中国"), "<div class=ptitle>中国</div><div class=pexplain>China</div>");
    EXPECT_EQ(EntryFor("hello world"),
              "<div class=ptitle>hello world</div><div class=pexplain>你好世界</div>");
    EXPECT_EQ(EntryFor("quorvex"), "(未找到和您的关键词 相匹配的词典解释)");
    EXPECT_EQ(EntryFor("猫"), "(未找到和您的关键词 相匹配的词典解释)");
    EXPECT_EQ(EntryFor("<b>hello</b>"), "(未找到和您的关键词 相匹配的词典解释)");
    EXPECT_EQ(EntryFor(""), "(未找到和您的关键词 相匹配的词典解释)");
}

TEST(SearchService, AnswersTheLookupsGbkQueryWithAGbkPage) {
    TStandin standin;
    const std::string host = "127.0.0.1:" + std::to_string(standin.Port());
    TRecordingPanel panel;
    EXPECT_EQ(ShowDictionaryEntry(host, "中文", panel), TDictionaryEntry::dkEntry);
    EXPECT_EQ(panel.Page, DictionaryPage(host, "<div class=ptitle>中文</div>"
                                               "<div class=pexplain>Chinese</div>"));
    EXPECT_EQ(ShowDictionaryEntry(host, "unknown", panel), TDictionaryEntry::dkNoEntry);
    EXPECT_TRUE(panel.Message.empty());
}

TEST(SearchService, RejectsAQueryWithoutAWordOrWithABrokenEscape) {
    TStandin standin;
    const auto status = [&](const std::string& target) {
        const std::string reply =
            test_support::ExchangeRaw(standin.Port(), "GET " + target + " HTTP/1.0\r\n\r\n");
        return reply.substr(0, reply.find("\r\n"));
    };
    EXPECT_EQ(status("/s?ie=gb2312&ct=1048576"), "HTTP/1.1 400 Bad Request");
    EXPECT_EQ(status("/s?wd=%D6"), "HTTP/1.1 200 OK");
    EXPECT_EQ(status("/s?wd=%G1"), "HTTP/1.1 400 Bad Request");
}
