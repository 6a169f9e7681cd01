// The lookup as the window and quorvex-translate run it: the order of the sources, failures,
// the page and its escaping, and the classic lookup where the settings ask for it.
#include "dictionaries/DictionaryLookup.h"

#include "DictionaryData.h"
#include "cli/TranslateCommand.h"
#include "support/LoopbackHttpServer.h"
#include "support/ScopedEnvironment.h"
#include "translate/Dictionary.h"

#include <gtest/gtest.h>
#include <sstream>

namespace quorvex::dictionaries {
namespace {

using test_support::ScopedEnvironment;

const std::string kHostile = "<img src=x onerror=alert(1)>";

class RecordingPanel final : public TDictionaryPanel {
public:
    void ShowHtmlInPanel(const std::string& html) override { GbkPages.push_back(html); }
    void ShowUtf8HtmlInPanel(const std::string& html) override { Pages.push_back(html); }
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    std::vector<std::string> GbkPages;
    std::vector<std::string> Pages;
    std::vector<std::string> Messages;
};

class DictionaryLookupTest : public testing::Test {
protected:
    DictionaryLookupTest() {
        folder_.Add("freedict-eng-spa", ":cat:cat /kæt/\ngato\n:" + std::string("hostile:") +
                                            kHostile + " /\"'&/ <" + kHostile + ">\n" + kHostile +
                                            "\n");
    }

    std::string Lookup(const std::string& order, const std::string& word, const std::string& pair) {
        ScopedEnvironment dictionaries("QUORVEX_DICTIONARIES", order);
        RecordingPanel panel;
        found_ = ShowDictionaryLookup(pair, word, panel);
        EXPECT_EQ(panel.Pages.size(), 1u);
        return panel.Pages.empty() ? "" : panel.Pages.back();
    }

    static bool Has(const std::string& page, const std::string& text) {
        return page.find(text) != std::string::npos;
    }

    QTemporaryDir config_;
    ScopedEnvironment configHome_{"XDG_CONFIG_HOME", config_.path().toStdString()};
    ScopedEnvironment searchHost_{"QUORVEX_SEARCH_HOST", std::nullopt};
    test_support::DictdFolder folder_;
    ScopedEnvironment dictDirs_{"QUORVEX_DICT_DIRS", folder_.Path()};
    ScopedEnvironment cedict_{"QUORVEX_CEDICT", test_support::TestCedictPath()};
    // Nothing listens there: the network sources fail as they do offline.
    std::string nowhere_ = "127.0.0.1:" + std::to_string(test_support::ClosedPort());
    ScopedEnvironment dictServer_{"QUORVEX_DICT_SERVER", nowhere_};
    ScopedEnvironment google_{"QUORVEX_GOOGLE_URL", "http://" + nowhere_};
    bool found_ = false;
};

TEST_F(DictionaryLookupTest, PageStartsWithTheHeaderAndSaysItIsUtf8) {
    const std::string page = Lookup("cedict", "你好", std::string(kLanguagePairs[1].Caption));
    EXPECT_TRUE(found_);
    const std::string header = DictionaryPageHeader("www.baidu.com");
    EXPECT_EQ(page.substr(0, header.size()), header);
    EXPECT_LT(page.find("<meta charset=\"utf-8\">"), 1024u);
    EXPECT_TRUE(Has(page, "nǐ hǎo"));
    EXPECT_TRUE(Has(page, "<div id=ft>CC-CEDICT (CC BY-SA 4.0)</div>"));
}

TEST_F(DictionaryLookupTest, EveryTextFromAFileIsEscaped) {
    const std::string page = Lookup("freedict", "hostile", "英语 翻译成 西班牙语");
    EXPECT_FALSE(Has(page, "<img"));
    EXPECT_TRUE(Has(page, "&lt;img src=x onerror=alert(1)&gt;"));
    EXPECT_TRUE(Has(page, "&quot;&#39;&amp;"));
}

TEST_F(DictionaryLookupTest, OrderDecidesAndFailuresArePassedOver) {
    struct Case {
        std::string Order;
        std::string Word;
        std::string Caption;
        bool Found;
        std::vector<std::string> Shown;
    };
    const std::string englishToSpanish = "英语 翻译成 西班牙语";
    const std::string englishToChinese(kLanguagePairs[0].Caption);
    const std::vector<Case> cases{
        {"dict, freedict", "cat", englishToSpanish, true, {"gato", "FreeDict eng-spa"}},
        {"cedict,freedict", "cat", englishToSpanish, true, {"gato"}},
        {"cedict,freedict", "cat", englishToChinese, true, {"猫", "CC-CEDICT"}},
        {"freedict,cedict", "cat", englishToChinese, true, {"猫"}},
        {"dict,freedict",
         "dog",
         englishToSpanish,
         false,
         {kNoEntryText, "<li>dict: the DICT server 127.0.0.1:", "cannot be reached"}},
        {"cedict,freedict", "qwxz", englishToSpanish, false, {kNoEntryText}},
        {"cedict,nosuch", "qwxz", englishToChinese, false, {"<li>nosuch: "}},
        {"google,cedict", "电脑", "", true, {"diàn nǎo", "CC-CEDICT"}},
        {"cedict,freedict,google,dict",
         "qwxz",
         englishToChinese,
         false,
         {"<li>google: ", "<li>dict: "}},
    };
    for (const Case& c : cases) {
        const std::string page = Lookup(c.Order, c.Word, c.Caption);
        EXPECT_EQ(found_, c.Found) << c.Order << " " << c.Word;
        for (const std::string& shown : c.Shown)
            EXPECT_TRUE(Has(page, shown)) << c.Order << " " << c.Word << ": " << shown << "\n"
                                          << page;
    }
}

TEST_F(DictionaryLookupTest, SearchHostSettingKeepsTheClassicLookupWithoutUnholdableText) {
    test_support::ScriptedHttpServer server;
    ScopedEnvironment searchHost("QUORVEX_SEARCH_HOST", server.Host());
    const std::vector<std::pair<std::string, std::size_t>> cases{
        {"niño", 0}, {"中国", 1}, {"한국", 0}};
    std::size_t asked = 0;
    for (const auto& [word, requests] : cases) {
        server.Enqueue(test_support::Reply::WithBody(200, "OK", "未找到和您的关键词"));
        RecordingPanel panel;
        ShowDictionaryLookup("", word, panel);
        asked += requests;
        EXPECT_EQ(server.Requests().size(), asked) << word;
        EXPECT_EQ(panel.GbkPages.size(), requests) << word;
        EXPECT_TRUE(panel.Pages.empty());
    }
}

TEST_F(DictionaryLookupTest, BlanksAloneAreNotLookedUp) {
    RecordingPanel panel;
    EXPECT_FALSE(ShowDictionaryLookup("", " \r\n", panel));
    EXPECT_TRUE(panel.Pages.empty());
}

TEST_F(DictionaryLookupTest, CommandPrintsThePageWithItsStatus) {
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases{
        {{"--dict", "電腦"}, kExitTranslated, "diàn nǎo"},
        {{"--dict", "cat", "-p", "en|es", "--service", "freedict"}, kExitTranslated, "gato"},
        {{"--dict", "cat", "-p", "en|es", "--service", "cedict"}, kExitError, kNoEntryText},
        {{"--services"}, kExitTranslated, "freedict  en|es"},
    };
    for (const auto& [arguments, status, shown] : cases) {
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunTranslateCommand(arguments, in, out, err), status) << arguments[1];
        EXPECT_TRUE(Has(out.str(), shown)) << out.str();
    }
}

} // namespace
} // namespace quorvex::dictionaries
