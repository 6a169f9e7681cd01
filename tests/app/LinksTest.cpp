#include "app/FakeServices.h"
#include "app/LinkLabel.h"
#include "app/Unit1.h"
#include "platform/Exception.h"
#include "platform/gui/Application.h"
#include "platform/gui/WebBrowser.h"
#include "support/FakeBrowser.h"
#include "support/LoopbackHttpServer.h"
#include "support/Pumping.h"
#include "support/ScopedEnvironment.h"
#include "translate/ServiceHosts.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace quorvex {
namespace {

using test_support::FakeBrowser;
using test_support::LoopbackHttpServer;
using test_support::Milliseconds;
using test_support::Reply;

inline constexpr const char* kSite = "site.test:8080";
inline constexpr int kTicksBetweenReports = 121;

class LinksTest : public testing::Test {
protected:
    LinksTest()
        : form_(services_, true) {
        form_.SiteHost = kSite;
    }

    // The URL each start of the browser was given (its last argument); the starts run side by
    // side, so in no particular order.
    std::multiset<std::string> OpenedUrls() const {
        std::multiset<std::string> urls;
        for (const auto& start : browser_.Starts())
            urls.insert(start.back());
        return urls;
    }

    FakeBrowser browser_;
    test_support::TFakeServices services_;
    TForm1 form_;
};

TEST_F(LinksTest, EachLinkOpensItsPageAndEveryClickANewWindow) {
    QTest::mouseClick(form_.Label2, Qt::LeftButton);
    QTest::mouseClick(form_.Label3, Qt::LeftButton);
    QTest::mouseClick(form_.Label4, Qt::LeftButton);
    form_.N3->trigger();
    QTest::mouseClick(form_.Label3, Qt::LeftButton);
    QTest::mouseClick(form_.Label3, Qt::RightButton); // not a click
    QTest::keyClick(form_.Label4, Qt::Key_Space);
    ASSERT_TRUE(browser_.WaitForStarts(6));
    const std::string help = std::string("http://") + kSite + "/Quorvex/help.html";
    EXPECT_EQ(OpenedUrls(), (std::multiset<std::string>{
                                "http://" + ServiceHosts().Translate + "/translate_t?hl=zh-CN",
                                help, "http://" + ServiceHosts().Dict + "/", help, help,
                                "http://" + ServiceHosts().Dict + "/"}));
    for (const auto& start : browser_.Starts())
        EXPECT_EQ(start.front(), browser_.ProgramPath());
}

TEST_F(LinksTest, WithoutASiteTheHelpLinksSaySoInTheFailureBox) {
    auto& application = static_cast<platform::TApplication&>(*QCoreApplication::instance());
    std::vector<std::string> failures;
    const auto saved = application.OnUnhandledFailure;
    application.OnUnhandledFailure = [&](const std::string& text) { failures.push_back(text); };
    form_.SiteHost.clear();
    QTest::mouseClick(form_.Label3, Qt::LeftButton);
    // As the tray menu delivers it: inside an event, where failures reach the failure box.
    QMetaObject::invokeMethod(form_.N3, &QAction::trigger, Qt::QueuedConnection);
    test_support::PumpUntil([&] { return failures.size() == 2; });
    application.OnUnhandledFailure = saved;
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_NE(failures[0].find("QUORVEX_SITE_HOST"), std::string::npos) << failures[0];
    EXPECT_TRUE(browser_.Starts().empty());
}

TEST_F(LinksTest, ABrowserThatCannotBeStartedIsAFailure) {
    browser_.RemoveDefaultAndProvideOpener();
    const std::string emptyFolder = testing::TempDir() + "links-no-programs";
    std::filesystem::create_directories(emptyFolder);
    const test_support::ScopedEnvironment noPrograms("PATH", emptyFolder);
    EXPECT_THROW(form_.Label4Click(), Exception);
}

// The usage report, against a site that records each report and answers none, so that no
// report page completes unless a test loads a document itself.
class ReportTest : public testing::Test {
protected:
    ReportTest()
        : site_([](const test_support::RecordedRequest&) {
            return Reply::Raw("").Delay(Milliseconds(600000));
        })
        , form_(services_, true) {
        form_.SiteHost = site_.Host();
    }

    void Ticks(int count) {
        for (int i = 0; i < count; ++i)
            form_.Timer1Timer();
    }

    LoopbackHttpServer site_;
    test_support::TFakeServices services_;
    TForm1 form_;
};

TEST_F(ReportTest, FirstReportGoesOutOnTheFourthTickWithTheVersion) {
    EXPECT_EQ(form_.Timer1->interval(), 2000);
    EXPECT_EQ(form_.Timer1->Tag, -5);
    Ticks(1);
    EXPECT_EQ(form_.Timer1->interval(), 1000);
    Ticks(2);
    EXPECT_EQ(form_.Timer1->Tag, -2);
    test_support::PumpFor(Milliseconds(300));
    EXPECT_TRUE(site_.Requests().empty());

    Ticks(1);
    EXPECT_EQ(form_.Timer1->Tag, 1);
    ASSERT_TRUE(test_support::PumpUntil([&] { return !site_.Requests().empty(); }));
    const std::string target = site_.Requests().at(0).Target;
    EXPECT_TRUE(target.starts_with("/Quorvex/Quorvex.asp?ver=1.3.3.9&r=")) << target;
    const std::string ticks = target.substr(target.find("&r=") + 3);
    EXPECT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.find_first_not_of("0123456789"), std::string::npos) << ticks;
    EXPECT_NE(ticks.front(), '0');
}

TEST_F(ReportTest, ADocumentCompletedBeforeTheFourthTickPassesTheFirstReportOver) {
    int completed = 0;
    const auto onComplete = form_.WebBrowser1->OnDocumentComplete;
    form_.WebBrowser1->OnDocumentComplete = [&](platform::TWebBrowser& sender, const QString& url) {
        ++completed;
        onComplete(sender, url);
    };
    Ticks(2);
    // A first dictionary entry: the blank page it waits for, then the entry itself.
    form_.ShowHtmlInPanel("<html><body>entry</body></html>");
    ASSERT_TRUE(test_support::PumpUntil([&] { return completed == 2; }));
    EXPECT_EQ(form_.Timer1->Tag, 0);
    Ticks(kTicksBetweenReports);
    EXPECT_EQ(form_.Timer1->Tag, kTicksBetweenReports);
    test_support::PumpFor(Milliseconds(300));
    EXPECT_TRUE(site_.Requests().empty());
    Ticks(1); // sees 121
    EXPECT_EQ(form_.Timer1->Tag, 1);
    EXPECT_TRUE(test_support::PumpUntil([&] { return site_.Requests().size() == 1; }));
}

TEST_F(ReportTest, WithNoDocumentCompletingReportsFollowEvery121Ticks) {
    Ticks(4);
    ASSERT_TRUE(test_support::PumpUntil([&] { return site_.Requests().size() == 1; }));
    Ticks(kTicksBetweenReports - 1);
    EXPECT_EQ(form_.Timer1->Tag, kTicksBetweenReports);
    Ticks(1);
    EXPECT_EQ(form_.Timer1->Tag, 1);
    ASSERT_TRUE(test_support::PumpUntil([&] { return site_.Requests().size() == 2; }));
    EXPECT_TRUE(site_.Requests().at(1).Target.starts_with("/Quorvex/Quorvex.asp?ver=1.3.3.9&r="));
}

TEST_F(ReportTest, WithoutASiteNothingIsReported) {
    form_.SiteHost.clear();
    Ticks(4 + kTicksBetweenReports);
    EXPECT_EQ(form_.Timer1->Tag, 1);
    test_support::PumpFor(Milliseconds(300));
    EXPECT_TRUE(site_.Requests().empty());
    EXPECT_FALSE(form_.WebBrowser1->HasDocument());
}

TEST(ReportURL, CarriesVersionAndTicksUnencoded) {
    EXPECT_EQ(ReportURL("127.0.0.1:80", "1.3.3.9", 4294967295u),
              "http://127.0.0.1:80/Quorvex/Quorvex.asp?ver=1.3.3.9&r=4294967295");
    EXPECT_EQ(ReportURL("h", "1 2", 0), "http://h/Quorvex/Quorvex.asp?ver=1 2&r=0");
}

} // namespace
} // namespace quorvex
