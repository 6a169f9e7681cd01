#include "platform/gui/WebBrowser.h"

#include "platform/Exception.h"
#include "platform/TextCodec.h"
#include "support/Pumping.h"
#include "support/WebViewText.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWebEngineView>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace quorvex::platform {
namespace {

using test_support::kWebEngineWaitLimit;
using test_support::PumpUntil;
using test_support::WebViewText;

class WebBrowserTest : public testing::Test {
protected:
    WebBrowserTest()
        : browser_(&panel_) {
        browser_.OnDocumentComplete = [this](TWebBrowser& sender, const QString& url) {
            EXPECT_EQ(&sender, &browser_);
            completed_.push_back(url);
        };
        panel_.resize(400, 200);
        browser_.Widget().resize(400, 200);
        panel_.show();
    }

    QWidget panel_;
    TWebBrowser browser_;
    std::vector<QString> completed_;
};

TEST_F(WebBrowserTest, FirstLoadMakesABlankDocumentReadyBeforeShowingThePage) {
    EXPECT_FALSE(browser_.HasDocument());
    browser_.LoadDocument(Utf8ToGbk("<body>词典 entry</body>"), "GBK");
    EXPECT_TRUE(browser_.HasDocument());
    ASSERT_FALSE(completed_.empty());
    EXPECT_EQ(completed_.front(), "about:blank");
    ASSERT_TRUE(PumpUntil([&] { return WebViewText(browser_.View()) == "词典 entry"; },
                          kWebEngineWaitLimit))
        << WebViewText(browser_.View()).toStdString();
}

TEST_F(WebBrowserTest, LoadReplacesThePreviousPageAndReportsDocumentComplete) {
    browser_.LoadDocument("<p>first</p>", "GBK");
    browser_.LoadDocument(Utf8ToGbk("<p>第二</p>"), "GBK");
    ASSERT_TRUE(
        PumpUntil([&] { return WebViewText(browser_.View()) == "第二"; }, kWebEngineWaitLimit));
    EXPECT_GE(completed_.size(), 2u);
}

TEST_F(WebBrowserTest, FirstLoadAfterTheProgramWasToldToEndStillEnds) {
    // As when the window is closed while a lookup waits: the application quits, and the
    // lookup's page arrives after that, before the event loop has been left.
    bool loaded = false;
    QTimer::singleShot(0, [&] {
        QCoreApplication::quit();
        browser_.LoadDocument("<p>late</p>", "GBK");
        loaded = true;
    });
    QCoreApplication::exec();
    EXPECT_TRUE(loaded);
    EXPECT_TRUE(browser_.HasDocument());
}

TEST_F(WebBrowserTest, EngineStartsOnlyWhenAPageIsNeededAndTheViewTakesTheStandInsPlace) {
    const QRect geometry(-2, -2, 300, 150);
    browser_.Widget().setGeometry(geometry);
    EXPECT_FALSE(browser_.Started());
    EXPECT_TRUE(panel_.findChildren<QWebEngineView*>().empty());
    EXPECT_TRUE(browser_.Widget().isVisible());

    browser_.LoadDocument("<p>now</p>", "GBK");
    EXPECT_TRUE(browser_.Started());
    EXPECT_EQ(&browser_.Widget(), &browser_.View());
    EXPECT_EQ(browser_.View().geometry(), geometry);
    EXPECT_EQ(browser_.View().parentWidget(), &panel_);
    EXPECT_TRUE(browser_.View().isVisible());
    EXPECT_EQ(panel_.findChildren<QWidget*>(Qt::FindDirectChildrenOnly),
              QList<QWidget*>{&browser_.View()})
        << "the stand-in is gone";
}

TEST_F(WebBrowserTest, ShownWindowKeepsItsNativeWindowWhenTheViewJoinsIt) {
    // A re-created native window is the window vanishing and coming back before the user's eyes.
    const WId before = panel_.winId();
    browser_.LoadDocument("<p>joined</p>", "GBK");
    ASSERT_TRUE(
        PumpUntil([&] { return WebViewText(browser_.View()) == "joined"; }, kWebEngineWaitLimit));
    EXPECT_EQ(panel_.winId(), before);
}

TEST_F(WebBrowserTest, NavigateProducesADocument) {
    browser_.Navigate("about:blank");
    ASSERT_TRUE(PumpUntil([&] { return browser_.HasDocument(); }, kWebEngineWaitLimit));
    EXPECT_EQ(completed_.back(), "about:blank");
}

} // namespace
} // namespace quorvex::platform
