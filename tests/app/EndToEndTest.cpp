// The program as a user meets it: a real X server (Xvfb), the xcb platform, the clipboard
// shared with other programs, and loopback services in place of the web sites.
#include "platform/TextCodec.h"
#include "support/ChildProcess.h"
#include "support/LoopbackHttpServer.h"
#include "support/QuorvexEnvironment.h"
#include "support/Waiting.h"
#include "support/XvfbDisplay.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using test_support::ChildProcess;
using test_support::LoopbackHttpServer;
using test_support::PollUntil;
using test_support::QuorvexEnvironment;
using test_support::RecordedRequest;
using test_support::Reply;
using test_support::RunCommand;
using test_support::XvfbDisplay;

inline constexpr auto kStartLimit = 120s;
inline constexpr auto kKeepsRunningFor = 5s;
inline constexpr const char* kCopiedText = "hello world";
inline constexpr const char* kTranslation = "你好世界";
// Where Memo2 lies in the window: its group box at 0, 169 and the box at 5, 15 inside.
inline constexpr int kResultBoxX = 100;
inline constexpr int kResultBoxY = 169 + 15 + 40;

Reply Answer(const RecordedRequest& request) {
    if (request.Target.starts_with("/translate_t"))
        return Reply::WithBody(200, "OK",
                               std::string("<div id=result_box dir=\"ltr\">") + kTranslation +
                                   "</div></td></tr><tr><td class=submitcell>");
    if (request.Target.starts_with("/s?"))
        return Reply::WithBody(
            200, "OK", platform::Utf8ToGbk("以上结果由<ol><b>hello</b> 你好<br>以上结果由"));
    return Reply::WithBody(404, "Not Found", "");
}

class EndToEndTest : public testing::Test {
protected:
    EndToEndTest()
        : server_(Answer)
        , environment_(display_.Name(), server_.Host()) {
        setenv("DISPLAY", display_.Name().c_str(), 1);
    }

    std::unique_ptr<ChildProcess> StartQuorvex(const std::vector<std::string>& arguments = {}) {
        std::vector<std::string> argv{QUORVEX_BINARY_DIR "/quorvex"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return std::make_unique<ChildProcess>(argv, environment_.Variables());
    }

    bool ServiceGot(const std::string& pathStart, const std::string& piece) {
        return PollUntil(
            [&] {
                for (const RecordedRequest& request : server_.Requests())
                    if (request.Target.starts_with(pathStart) &&
                        (request.Body + request.Target).find(piece) != std::string::npos)
                        return true;
                return false;
            },
            kStartLimit);
    }

    // What the result box shows, copied out of it the way a user would: hover, double-click
    // (selects all), Ctrl+C; then read from the clipboard by another program.
    // The gesture is repeated until it works, for a machine too busy to take it the first time.
    std::string ResultBoxText() {
        const std::string window = WindowId();
        std::string text;
        PollUntil(
            [&] {
                RunCommand("xdotool mousemove --window " + window + " " +
                           std::to_string(kResultBoxX) + " " + std::to_string(kResultBoxY) +
                           " sleep 0.3 click --repeat 2 --delay 80 1 sleep 0.3 key ctrl+c");
                text = RunCommand("xclip -selection clipboard -o 2>/dev/null");
                return text.find(kTranslation) != std::string::npos;
            },
            kStartLimit);
        return text;
    }

    static std::string WindowId() {
        std::string window =
            RunCommand("xdotool search --sync --onlyvisible --name 'Quorvex' | head -1");
        window.erase(window.find_last_not_of('\n') + 1);
        return window;
    }

    void SaveScreenshot() {
        const std::filesystem::path folder = QUORVEX_ARTIFACT_DIR;
        std::filesystem::create_directories(folder);
        RunCommand("import -window root " + (folder / "quorvex-end-to-end.png").string());
    }

    XvfbDisplay display_;
    LoopbackHttpServer server_;
    QuorvexEnvironment environment_;
};

TEST_F(EndToEndTest, TextCopiedInAnotherProgramIsTranslatedAndLookedUp) {
    // xclip stays behind to serve the clipboard; it must not hold on to our output pipe.
    RunCommand(std::string("printf '") + kCopiedText +
               "' | xclip -selection clipboard >/dev/null 2>&1");
    const auto quorvex = StartQuorvex();
    ASSERT_TRUE(ServiceGot("/translate_t", "text=hello+world&"))
        << "no translation request arrived";
    ASSERT_TRUE(ServiceGot("/s?ie=gb2312&wd=hello%20world&ct=1048576", "hello"))
        << "no dictionary request arrived";
    // The web panel needs a moment to paint the entry before the screenshot.
    std::this_thread::sleep_for(2s);
    SaveScreenshot();
    EXPECT_NE(ResultBoxText().find(kTranslation), std::string::npos);
    EXPECT_TRUE(quorvex->Running());
}

TEST_F(EndToEndTest, SecondStartEndsAtOnceUnlessGivenAnArgument) {
    const auto first = StartQuorvex();
    ASSERT_TRUE(PollUntil(
        [] { return !RunCommand("xdotool search --onlyvisible --name 'Quorvex'").empty(); },
        kStartLimit))
        << "the first window never showed";
    const auto second = StartQuorvex();
    EXPECT_EQ(second->WaitForExit(kStartLimit), 0);
    EXPECT_TRUE(first->Running());
    // Placed at the top, centred on the 1280-pixel screen (no window manager: no border).
    EXPECT_NE(RunCommand("xdotool getwindowgeometry " + WindowId()).find("Position: 400,10"),
              std::string::npos);
    const auto withArgument = StartQuorvex({"/afterupgrade"});
    std::this_thread::sleep_for(kKeepsRunningFor);
    EXPECT_TRUE(withArgument->Running());
    EXPECT_TRUE(first->Running());
}

} // namespace
} // namespace quorvex
