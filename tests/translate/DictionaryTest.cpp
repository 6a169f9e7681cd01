#include "translate/Dictionary.h"

#include "platform/Exception.h"
#include "platform/TextCodec.h"
#include "support/LoopbackHttpServer.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace quorvex {
namespace {

using test_support::Reply;
using test_support::ScriptedHttpServer;

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(DictionaryCut, EntryLiesBetweenTheFirstOlAndTheFollowingEndMarker) {
    const TDictionaryEntry entry =
        CutDictionaryEntry("head 以上结果由 <ol><li>词</li><br>以上结果由 foot<br>以上结果由");
    EXPECT_EQ(entry.Kind, TDictionaryEntry::dkEntry);
    EXPECT_EQ(entry.Text, "<li>词</li>");
}

TEST(DictionaryCut, SecondOlStaysInTheEntry) {
    EXPECT_EQ(CutDictionaryEntry("以上结果由<ol>a<ol>b<br>以上结果由").Text, "a<ol>b");
}

TEST(DictionaryCut, WithoutOlTheEntryStartsAtTheFourthCharacter) {
    // Characters, not bytes: three Chinese characters are skipped whole.
    EXPECT_EQ(CutDictionaryEntry("词典页x以上结果由<br>以上结果由").Text, "x以上结果由");
}

TEST(DictionaryCut, EndMarkerBeforeTheEntryStartLeavesNothing) {
    const TDictionaryEntry entry = CutDictionaryEntry("<br>以上结果由<ol>entry");
    EXPECT_EQ(entry.Kind, TDictionaryEntry::dkEntry);
    EXPECT_EQ(entry.Text, "");
}

TEST(DictionaryCut, NoEntryAndNoMarkers) {
    const TDictionaryEntry none = CutDictionaryEntry("抱歉，未找到和您的关键词 x");
    EXPECT_EQ(none.Kind, TDictionaryEntry::dkNoEntry);
    EXPECT_EQ(none.Text, "未找到和您的关键词 相匹配的词典解释");
    const TDictionaryEntry other = CutDictionaryEntry("<html>something else</html>");
    EXPECT_EQ(other.Kind, TDictionaryEntry::dkError);
    EXPECT_EQ(other.Text, "Error");
}

TEST(DictionaryPage, HeaderHasTwentyThreeCrLfLinesAndTheBaseOfTheSearchHost) {
    const std::string header = DictionaryPageHeader("search.example:8080");
    const std::vector<std::string> lines = CrLfLines(header);
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines.back(), "") << "the last line ends with CR LF too";
    EXPECT_EQ(lines[0], "<base href=http://search.example:8080>");
    EXPECT_EQ(lines[1], "<style type=\"text/css\">");
    EXPECT_EQ(lines[5], ".pcixin {margin - top : 3px; color = #FF0000}");
    EXPECT_EQ(lines[7], ".pnewword {margin-top:3px; margin-right:10px; font-size:12; "
                        "color:#9d0006; font-weight:bold}");
    EXPECT_EQ(lines[16], "</style>");
    EXPECT_EQ(lines[20], " showid = document.all(\"dropdownid\");");
    EXPECT_EQ(lines[22], "</script><body topmargin=0>");
    EXPECT_EQ(header.find('\n'), header.find("\r\n") + 1);
    EXPECT_EQ(DictionaryPage("h", "entry"), DictionaryPageHeader("h") + "entry");
}

TEST(DictionaryQuery, WordTravelsAsPercentEncodedGbkBytes) {
    EXPECT_EQ(DictionaryQueryUrl("h:1", "中文"),
              "http://h:1/s?ie=gb2312&wd=%D6%D0%CE%C4&ct=1048576");
    EXPECT_EQ(DictionaryQueryUrl("h", "a b&c=d?"), "http://h/s?ie=gb2312&wd=a%20b&c=d?&ct=1048576");
}

// Records what the lookup shows.
class TRecordingPanel final : public TDictionaryPanel {
public:
    void ShowHtmlInPanel(const std::string& html) override { Pages.push_back(html); }
    void ShowUtf8HtmlInPanel(const std::string& html) override { Pages.push_back(html); }
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    std::vector<std::string> Pages;
    std::vector<std::string> Messages;
};

class DictionaryLookupTest : public testing::Test {
protected:
    // The page shown, back in UTF-8 and without the header.
    std::string ShownText(std::size_t index = 0) const {
        const std::string page = platform::GbkToUtf8(panel_.Pages.at(index));
        const std::string header = DictionaryPageHeader(server_.Host());
        EXPECT_EQ(page.substr(0, header.size()), header);
        return page.substr(header.size());
    }
    void Answer(const std::string& pageUtf8) {
        server_.Enqueue(Reply::WithBody(200, "OK", platform::Utf8ToGbk(pageUtf8)));
    }

    ScriptedHttpServer server_;
    TRecordingPanel panel_;
};

TEST_F(DictionaryLookupTest, SendsTheExactQueryRefererAndUserAgent) {
    Answer("以上结果由<ol>entry<br>以上结果由");
    ShowDictionaryEntry(server_.Host(), "中文", panel_);
    const auto requests = server_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string target = "/s?ie=gb2312&wd=%D6%D0%CE%C4&ct=1048576";
    EXPECT_EQ(requests[0].Method, "GET");
    EXPECT_EQ(requests[0].Target, target);
    EXPECT_EQ(requests[0].Headers.Value("Referer"), "http://" + server_.Host() + target);
    EXPECT_EQ(requests[0].Headers.Value("User-Agent"),
              "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 1.1.4322; "
              "Alexa Toolbar)");
}

TEST_F(DictionaryLookupTest, ShowsTheEntryAsGbkBehindTheHeader) {
    Answer("<p>以上结果由百度词典提供</p><ol><b>中文</b> Chinese<br>以上结果由百度");
    ShowDictionaryEntry(server_.Host(), "中文", panel_);
    ASSERT_EQ(panel_.Pages.size(), 1u);
    EXPECT_EQ(ShownText(), "<b>中文</b> Chinese");
    EXPECT_NE(panel_.Pages[0].find(platform::Utf8ToGbk("中文")), std::string::npos);
    EXPECT_TRUE(panel_.Messages.empty());
}

TEST_F(DictionaryLookupTest, NoEntryAndUnknownPagesAreShownWithoutAMessage) {
    Answer("未找到和您的关键词");
    Answer("<html>nothing we know</html>");
    ShowDictionaryEntry(server_.Host(), "zzz", panel_);
    ShowDictionaryEntry(server_.Host(), "zzz", panel_);
    ASSERT_EQ(panel_.Pages.size(), 2u);
    EXPECT_EQ(ShownText(0), "未找到和您的关键词 相匹配的词典解释");
    EXPECT_EQ(ShownText(1), "Error");
    EXPECT_TRUE(panel_.Messages.empty());
}

TEST_F(DictionaryLookupTest, EntryWithoutEndLeavesThePanelAlone) {
    Answer("以上结果由<ol>entry without end");
    ShowDictionaryEntry(server_.Host(), "word", panel_);
    EXPECT_TRUE(panel_.Pages.empty());
    EXPECT_TRUE(panel_.Messages.empty());
}

TEST_F(DictionaryLookupTest, FailedRequestShowsErrorAndAMessageBox) {
    server_.Enqueue(Reply::WithBody(404, "Not Found", "以上结果由<ol>x<br>以上结果由"));
    ShowDictionaryEntry(server_.Host(), "word", panel_);
    ASSERT_EQ(panel_.Pages.size(), 1u);
    EXPECT_EQ(ShownText(), "Error");
    ASSERT_EQ(panel_.Messages.size(), 1u);
    EXPECT_NE(panel_.Messages[0].find("404"), std::string::npos) << panel_.Messages[0];
}

TEST_F(DictionaryLookupTest, UnreachableServerShowsErrorAndAMessageBox) {
    // Nothing listens on port 1 of the loopback address: the connection is refused.
    ShowDictionaryEntry("127.0.0.1:1", "word", panel_);
    ASSERT_EQ(panel_.Pages.size(), 1u);
    EXPECT_NE(platform::GbkToUtf8(panel_.Pages[0]).find("\r\nError"), std::string::npos);
    ASSERT_EQ(panel_.Messages, std::vector<std::string>{"Connection refused"});
}

TEST_F(DictionaryLookupTest, UnresolvableHostShowsTheResolversText) {
    // An empty host name fails in the resolver itself, without asking any name server.
    ShowDictionaryEntry("", "word", panel_);
    ASSERT_EQ(panel_.Pages.size(), 1u);
    ASSERT_EQ(panel_.Messages, std::vector<std::string>{"Name or service not known"});
}

TEST_F(DictionaryLookupTest, FailureOfThePanelReachesTheCaller) {
    class TBrokenPanel final : public TDictionaryPanel {
    public:
        void ShowHtmlInPanel(const std::string&) override { throw Exception("no document"); }
        void ShowUtf8HtmlInPanel(const std::string&) override { throw Exception("no document"); }
        void ShowMessage(const std::string&) override {}
    } broken;
    Answer("未找到和您的关键词");
    EXPECT_THROW(ShowDictionaryEntry(server_.Host(), "word", broken), Exception);
}

} // namespace
} // namespace quorvex
