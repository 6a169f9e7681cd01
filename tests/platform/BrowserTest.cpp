#include "platform/Browser.h"

#include "platform/DesktopExec.h"
#include "support/FakeBrowser.h"

#include <gtest/gtest.h>
#include <set>

namespace quorvex::platform {
namespace {

using Arguments = std::vector<std::string>;
inline constexpr const char* kUrl = "http://site/Quorvex/help.html?a=1&b=%41";

TEST(ExecArguments, ReadsTheExecLineAsTheDesktopEntryRulesSay) {
    const struct {
        const char* exec;
        Arguments expected;
    } cases[] = {
        {"firefox %u", {"firefox", kUrl}},
        {"/usr/bin/chromium %U", {"/usr/bin/chromium", kUrl}},
        {"browser", {"browser", kUrl}}, // no field code: the URL goes last
        {"\"/opt/my browser/run\" --new %u", {"/opt/my browser/run", "--new", kUrl}},
        {"run \"a \\\"quoted\\\" word\" %u", {"run", "a \"quoted\" word", kUrl}},
        {"run %i %c %k --name=%c %u", {"run", "--name=", kUrl}},
        {"run 100%% %u", {"run", "100%", kUrl}},
        {"run --url=%u", {"run", std::string("--url=") + kUrl}},
        {"run %f %u", {"run", kUrl}}, // one target only
        {"  run   %u  ", {"run", kUrl}},
        {"", {}},
        {"\"unclosed %u", {}},
        {"%i", {}},
    };
    for (const auto& each : cases)
        EXPECT_EQ(ExecArguments(each.exec, kUrl), each.expected) << each.exec;
}

TEST(OpenInNewBrowserWindow, StartsTheDefaultHandlerOnceForEveryCall) {
    test_support::FakeBrowser browser("--flag %u");
    OpenInNewBrowserWindow(kUrl);
    OpenInNewBrowserWindow("http://other/");
    ASSERT_TRUE(browser.WaitForStarts(2));
    // The two starts run side by side, so their records come in either order.
    std::multiset<Arguments> starts;
    for (const auto& start : browser.Starts())
        starts.insert(start);
    // The query's & and % reach the browser untouched: no shell in between.
    EXPECT_EQ(starts,
              (std::multiset<Arguments>{{browser.ProgramPath(), "--flag", kUrl},
                                        {browser.ProgramPath(), "--flag", "http://other/"}}));
}

TEST(OpenInNewBrowserWindow, AsksABrowserThatKnowsTheOptionForANewWindow) {
    test_support::FakeBrowser browser("%u", "firefox");
    OpenInNewBrowserWindow(kUrl);
    ASSERT_TRUE(browser.WaitForStarts(1));
    EXPECT_EQ(browser.Starts().at(0), (Arguments{browser.ProgramPath(), "--new-window", kUrl}));
}

TEST(OpenInNewBrowserWindow, FallsBackOnTheDesktopOpener) {
    test_support::FakeBrowser browser;
    browser.RemoveDefaultAndProvideOpener();
    OpenInNewBrowserWindow(kUrl);
    ASSERT_TRUE(browser.WaitForStarts(1));
    const auto start = browser.Starts().at(0);
    ASSERT_EQ(start.size(), 2u);
    EXPECT_TRUE(start[0].ends_with("/opener/xdg-open")) << start[0];
    EXPECT_EQ(start[1], kUrl);
}

} // namespace
} // namespace quorvex::platform
