// What the X server sees of the program's windows from its start to its first dictionary page:
// a person must see one window appear, never one that vanishes and comes back.
#include "platform/TextCodec.h"
#include "support/ChildProcess.h"
#include "support/Files.h"
#include "support/LoopbackHttpServer.h"
#include "support/QuorvexEnvironment.h"
#include "support/Waiting.h"
#include "support/XvfbDisplay.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using test_support::ChildProcess;
using test_support::LoopbackHttpServer;
using test_support::PollUntil;
using test_support::QuorvexEnvironment;
using test_support::ReadWholeFile;
using test_support::RecordedRequest;
using test_support::Reply;
using test_support::RunCommand;
using test_support::XvfbDisplay;

inline constexpr auto kLimit = 120s;
// The web panel on the screen: the window at 400, 10 (no window manager), the panel at 5, 295.
inline constexpr const char* kPanelCrop = "471x169+405+305";

Reply Answer(const RecordedRequest& request) {
    if (request.Target.starts_with("/translate_t"))
        return Reply::WithBody(200, "OK", "<div id=result_box dir=\"ltr\">你好</div>");
    return Reply::WithBody(200, "OK",
                           platform::Utf8ToGbk("以上结果由<ol><b>hello</b> 你好<br>以上结果由"));
}

class WindowMappingTest : public testing::Test {
protected:
    WindowMappingTest()
        : server_(Answer)
        , environment_(display_.Name(), server_.Host()) {
        setenv("DISPLAY", display_.Name().c_str(), 1);
    }

    std::unique_ptr<ChildProcess> StartQuorvex() {
        return std::make_unique<ChildProcess>(
            std::vector<std::string>{QUORVEX_BINARY_DIR "/quorvex"}, environment_.Variables());
    }

    // Every structure event of the root window (windows created, mapped, ...) as xev prints it.
    std::unique_ptr<ChildProcess> WatchRootWindow() {
        return std::make_unique<ChildProcess>(std::vector<std::string>{
            "sh", "-c", "exec stdbuf -oL xev -root -event substructure > " + EventLog()});
    }

    std::string EventLog() const {
        return (environment_.RuntimeDir() / "root-events.txt").string();
    }

    std::string Events() const { return ReadWholeFile(EventLog()); }

    size_t Count(const std::string& what) const {
        const std::string events = Events();
        size_t count = 0;
        for (size_t at = events.find(what); at != std::string::npos; at = events.find(what, at + 1))
            ++count;
        return count;
    }

    static bool PanelShowsSomething() {
        // The darkest pixel of the panel: 1 while it is all white.
        const std::string darkest =
            RunCommand(std::string("import -window root -crop ") + kPanelCrop +
                       " -format '%[fx:minima]' info: 2>/dev/null");
        return !darkest.empty() && std::stod(darkest) < 0.5;
    }

    XvfbDisplay display_;
    LoopbackHttpServer server_;
    QuorvexEnvironment environment_;
};

TEST_F(WindowMappingTest, OneWindowIsMappedFromTheStartToTheFirstDictionaryPage) {
    const auto watch = WatchRootWindow();
    // xclip's own window shows that the watch sees what happens on the screen from now on.
    ASSERT_TRUE(PollUntil(
        [&] {
            RunCommand("printf hello | xclip -selection clipboard >/dev/null 2>&1");
            return Count("CreateNotify") > 0;
        },
        kLimit));
    const auto quorvex = StartQuorvex();
    ASSERT_TRUE(PollUntil(
        [&] {
            for (const RecordedRequest& request : server_.Requests())
                if (request.Target.starts_with("/s?"))
                    return true;
            return false;
        },
        kLimit))
        << "no dictionary request arrived";
    ASSERT_TRUE(PollUntil(PanelShowsSomething, kLimit)) << "the entry never showed";
    EXPECT_EQ(Count("MapNotify"), 1u) << Events();
    EXPECT_EQ(Count("UnmapNotify"), 0u) << Events();
    EXPECT_TRUE(quorvex->Running());
}

} // namespace
} // namespace quorvex
