// The window's own requests against services that accept and never answer. The service hosts
// are read once per program, so this program points both at one silent server before any
// window exists.
#include "app/TranslationServices.h"
#include "app/Unit1.h"
#include "support/LoopbackHttpServer.h"
#include "support/ScriptedHttpsServer.h"
#include "support/SilentServer.h"
#include "support/WebServiceSettings.h"
#include "translate/RequestLimit.h"

#include <QAction>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using test_support::Reply;
using test_support::SilentServer;

SilentServer& SilentServices() {
    static SilentServer server;
    static const bool pointed = [] {
        setenv("QUORVEX_TRANSLATE_HOST", server.Host().c_str(), 1);
        setenv("QUORVEX_SEARCH_HOST", server.Host().c_str(), 1);
        return true;
    }();
    (void)pointed;
    return server;
}

// Gives up every request that still waits after a generous limit, so that a window that would
// wait for ever fails the test instead of hanging it.
class Watchdog {
public:
    Watchdog() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            fired_ = true;
            TRequestLimit::AbandonAll();
        });
        timer_.start(test_support::kServerWaitLimit);
    }
    bool Fired() const { return fired_; }

private:
    TRequestLimit limit_{std::chrono::hours(1)};
    QTimer timer_;
    bool fired_ = false;
};

class WindowRequestsTest : public testing::Test {
protected:
    WindowRequestsTest() {
        form_.OnMessageBox = [this](const std::string& text) { messages_.push_back(text); };
    }

    std::string Result() const { return form_.Memo2->toPlainText().toStdString(); }

    SilentServer& server_ = SilentServices();
    TOnlineServices services_;
    TForm1 form_{services_, true};
    std::vector<std::string> messages_;
};

TEST_F(WindowRequestsTest, UnansweredRequestsEndAsErrorAndTheNextTriggerRuns) {
    form_.RequestTimeLimit = 300ms;
    // A box comes only for a click in a window the person sees.
    form_.show();
    form_.Memo1->setPlainText("hello");
    const size_t before = server_.ConnectionCount();
    const Watchdog watchdog;
    form_.Button1Click();
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(Result(), "Error");
    EXPECT_TRUE(form_.Button1->isEnabled());
    EXPECT_EQ(server_.ConnectionCount(), before + 2); // the translation and the lookup
    EXPECT_EQ(messages_, std::vector<std::string>{std::strerror(ETIMEDOUT)});
    form_.Button1Click();
    EXPECT_EQ(server_.ConnectionCount(), before + 4);
}

TEST_F(WindowRequestsTest, ClosingOrExitWhileARequestWaitsEndsTheProgramAtOnce) {
    const std::vector<std::pair<const char*, std::function<void(TForm1&)>>> endings = {
        {"close", [](TForm1& form) { form.close(); }},
        {"Exit", [](TForm1& form) { form.N1->trigger(); }}};
    for (const auto& [name, end] : endings) {
        SCOPED_TRACE(name);
        TForm1 form(services_, true);
        form.RequestTimeLimit = std::chrono::hours(1);
        std::vector<std::string> messages;
        form.OnMessageBox = [&](const std::string& text) { messages.push_back(text); };
        form.show();
        form.Memo1->setPlainText("hello");
        const size_t before = server_.ConnectionCount();
        QTimer::singleShot(0, &form, [&form] { form.Button1Click(); });
        QTimer waiting;
        QObject::connect(&waiting, &QTimer::timeout, [&, end = end] {
            if (server_.ConnectionCount() > before) {
                waiting.stop();
                end(form);
            }
        });
        waiting.start(10);
        const Watchdog watchdog;
        EXPECT_EQ(QCoreApplication::exec(), 0);
        EXPECT_FALSE(watchdog.Fired());
        EXPECT_EQ(server_.ConnectionCount(), before + 1); // no lookup after the translation
        EXPECT_TRUE(messages.empty());
    }
}

// The window's translations through the chain to Google's endpoint over HTTPS. The text is long
// enough to need no dictionary lookup.
class WindowHttpsTest : public testing::Test {
protected:
    WindowHttpsTest() {
        form_.RequestTimeLimit = std::chrono::hours(1);
        form_.Memo1->setPlainText(kText);
    }

    // The reply to the next request: Google's answer with `translation`, after `pause`.
    void Answer(const std::string& translation, std::chrono::milliseconds pause = 0ms) {
        const Reply answer = Reply::WithBody(200, "OK", R"([[[")" + translation + R"(","x"]]])");
        Reply reply;
        reply.Delay(pause);
        for (const Reply::Step& step : answer.Steps())
            reply.Send(step.Bytes);
        server_.Enqueue(reply.KeepAlive());
    }
    std::string Result() const { return form_.Memo2->toPlainText().toStdString(); }

    static constexpr const char* kText = "Good morning, how are you today?";
    SilentServer& silent_ = SilentServices(); // the classic host, set first, is put aside below
    test_support::ScriptedHttpsServer server_;
    test_support::WebServiceSettings settings_{server_.Url(""), "app", "key"};
    test_support::ScopedEnvironment chain_{"QUORVEX_TRANSLATE_HOST", std::nullopt};
    test_support::ScopedEnvironment order_{"QUORVEX_SERVICES", "google"};
    TOnlineServices services_;
    TForm1 form_{services_, true};
};

TEST_F(WindowHttpsTest, TwoTranslationsShareOneConnection) {
    for (const char* translation : {"早上好", "你好"}) {
        Answer(translation);
        form_.Button1Click();
        EXPECT_EQ(Result(), translation);
    }
    EXPECT_EQ(server_.ConnectionCount(), 1u);
}

TEST_F(WindowHttpsTest, TheWindowAnswersInputWhileTheReplyIsSlow) {
    Answer("早上好", 1500ms);
    bool typedWhileWaiting = false;
    QTimer::singleShot(300, &form_, [&] {
        QTest::keyClicks(form_.Memo1, "!");
        typedWhileWaiting = form_.Memo1->toPlainText().contains('!') && Result().empty();
    });
    form_.Button1Click();
    EXPECT_TRUE(typedWhileWaiting);
    EXPECT_EQ(Result(), "早上好");
}

TEST_F(WindowHttpsTest, ClosingWhileTheReplyIsSlowEndsTheProgramAtOnce) {
    Answer("never shown", std::chrono::minutes(1));
    form_.show();
    QTimer::singleShot(0, &form_, [this] { form_.Button1Click(); });
    QTimer waiting;
    QObject::connect(&waiting, &QTimer::timeout, [&] {
        if (!server_.Requests().empty()) {
            waiting.stop();
            form_.close();
        }
    });
    waiting.start(10);
    const Watchdog watchdog; // fires long before the reply would come
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(watchdog.Fired());
    EXPECT_EQ(Result(), "");
}

} // namespace
} // namespace quorvex
