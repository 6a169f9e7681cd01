// The dictionary lookup as the window shows it: a real web view and the message-box seam.
#include "app/FakeServices.h"
#include "app/Unit1.h"
#include "platform/TextCodec.h"
#include "platform/gui/WebBrowser.h"
#include "support/LoopbackHttpServer.h"
#include "support/Pumping.h"
#include "support/WebViewText.h"

#include <QWebEngineView>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using test_support::kWebEngineWaitLimit;
using test_support::PumpUntil;
using test_support::Reply;
using test_support::ScriptedHttpServer;
using test_support::TFakeServices;
using test_support::WebViewText;

class DictionaryPanelTest : public testing::Test {
protected:
    DictionaryPanelTest()
        : form_(services_, true) {
        form_.OnMessageBox = [this](const std::string& text) { messages_.push_back(text); };
        form_.show();
    }

    bool PanelShows(const std::string& text) {
        return PumpUntil(
            [&] { return WebViewText(form_.WebBrowser1->View()).toStdString() == text; },
            kWebEngineWaitLimit);
    }

    ScriptedHttpServer server_;
    TFakeServices services_;
    TForm1 form_;
    std::vector<std::string> messages_;
};

TEST_F(DictionaryPanelTest, EntryIsShownInTheWebPanelBeforeAnyOtherPage) {
    ASSERT_FALSE(form_.WebBrowser1->HasDocument());
    server_.Enqueue(Reply::WithBody(
        200, "OK", platform::Utf8ToGbk("以上结果由<ol><b>中文</b> Chinese<br>以上结果由")));
    ShowDictionaryEntry(server_.Host(), "中文", form_);
    EXPECT_TRUE(PanelShows("中文 Chinese")) << WebViewText(form_.WebBrowser1->View()).toStdString();
    EXPECT_TRUE(messages_.empty());
}

TEST_F(DictionaryPanelTest, FailureShowsErrorInThePanelAndAPlainMessage) {
    ShowDictionaryEntry("127.0.0.1:1", "word", form_);
    EXPECT_TRUE(PanelShows("Error"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_FALSE(messages_[0].empty());
}

TEST_F(DictionaryPanelTest, LaterPageReplacesTheEarlierOne) {
    server_.Enqueue(
        Reply::WithBody(200, "OK", platform::Utf8ToGbk("以上结果由<ol>one<br>以上结果由")));
    server_.Enqueue(Reply::WithBody(200, "OK", platform::Utf8ToGbk("未找到和您的关键词")));
    ShowDictionaryEntry(server_.Host(), "one", form_);
    ASSERT_TRUE(PanelShows("one"));
    ShowDictionaryEntry(server_.Host(), "two", form_);
    EXPECT_TRUE(PanelShows("未找到和您的关键词 相匹配的词典解释"));
}

} // namespace
} // namespace quorvex
