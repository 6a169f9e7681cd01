// The program as a user meets it: a real X server (Xvfb), the xcb platform, the clipboard
// shared with other programs, and loopback services in place of the web sites.
#include "platform/TextCodec.h"
#include "support/ChildProcess.h"
#include "support/LoopbackHttpServer.h"
#include "support/QuorvexEnvironment.h"
#include "support/SilentServer.h"
#include "support/Waiting.h"
#include "support/WindowManager.h"
#include "support/XvfbDisplay.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
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
using test_support::SilentServer;
using test_support::XvfbDisplay;

inline constexpr auto kStartLimit = 120s;
inline constexpr auto kKeepsRunningFor = 5s;
inline constexpr const char* kCopiedText = "hello world";
inline constexpr const char* kTranslation = "你好世界";
// Spots inside the boxes: Memo1's group box at 0, 56, Memo2's at 0, 169, each box 15 down.
inline constexpr int kBoxX = 100;
inline constexpr int kSourceBoxY = 56 + 15 + 40;
inline constexpr int kResultBoxY = 169 + 15 + 40;
// The "置顶" box: in the settings group at 392, 20.
inline constexpr int kStayOnTopX = 400;
inline constexpr int kStayOnTopY = 28;

// The translation's UTF-8 bytes as the form encoding sends them.
inline constexpr const char* kEncodedTranslation = "%E4%BD%A0%E5%A5%BD%E4%B8%96%E7%95%8C";
// A loopback port where nothing listens: every connection is refused at once.
inline constexpr const char* kRefusingHost = "127.0.0.1:1";
// A spot of the window's own background in the bottom row, between the flat buttons and the
// links, where a right click brings up the program's menu.
inline constexpr int kBottomRowX = 86;
inline constexpr int kBottomRowY = 289;

// The window ids of an xprop line such as "WM_TRANSIENT_FOR(WINDOW): window id # 0x600018" or
// "_NET_CLIENT_LIST_STACKING(WINDOW): window id # 0x400018, 0x60002f", in their order.
std::vector<unsigned long> WindowIds(const std::string& xpropLine) {
    std::vector<unsigned long> ids;
    for (size_t at = xpropLine.find("0x"); at != std::string::npos;
         at = xpropLine.find("0x", at + 2))
        ids.push_back(std::stoul(xpropLine.substr(at), nullptr, 16));
    return ids;
}

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
    explicit EndToEndTest(const std::string& screenSize = test_support::kDefaultScreenSize)
        : display_(screenSize)
        , server_(Answer)
        , environment_(display_.Name(), server_.Host()) {
        setenv("DISPLAY", Display().c_str(), 1);
    }

    // Sets `name` for the programs started from now on, replacing what it held.
    void SetEnvironment(const std::string& name, const std::string& value) {
        environment_.Set(name, value);
    }

    std::unique_ptr<test_support::TestWindowManager> StartWindowManager() {
        auto windowManager = test_support::StartWindowManager(Display(), kStartLimit);
        EXPECT_NE(windowManager, nullptr) << "openbox did not start";
        return windowManager;
    }

    static void CopyInAnotherProgram(const std::string& text) {
        // xclip stays behind to serve the clipboard; it must not hold on to our output pipe.
        RunCommand("printf '" + text + "' | xclip -selection clipboard >/dev/null 2>&1");
    }

    const std::string& Display() const { return display_.Name(); }

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

    // What a box shows, copied out of it the way a user would: hover, double-click (selects
    // all), Ctrl+C; then read from the clipboard by another program. The gesture is repeated
    // until the text holds `expected`, for a machine too busy to take it the first time.
    std::string BoxText(int boxY, const std::string& expected) {
        std::string text;
        PollUntil(
            [&] {
                RunCommand("xdotool mousemove --window " + WindowId() + " " +
                           std::to_string(kBoxX) + " " + std::to_string(boxY) +
                           " sleep 0.3 click --repeat 2 --delay 80 1 sleep 0.3 key ctrl+c");
                text = RunCommand("xclip -selection clipboard -o 2>/dev/null");
                return text.find(expected) != std::string::npos;
            },
            kStartLimit);
        return text;
    }

    std::string ResultBoxText(const std::string& expected = kTranslation) {
        return BoxText(kResultBoxY, expected);
    }

    static bool WindowShows() {
        return !RunCommand("xdotool search --onlyvisible --name 'Quorvex'").empty();
    }

    static bool FailureBoxShows() {
        return !RunCommand("xdotool search --onlyvisible --name '^Virovedezori$'").empty();
    }

    size_t TranslationsAsked(const std::string& piece) const {
        return std::ranges::count_if(server_.Requests(), [&](const RecordedRequest& request) {
            return request.Target.starts_with("/translate_t") &&
                   request.Body.find(piece) != std::string::npos;
        });
    }

    static std::string WindowId() {
        std::string window =
            RunCommand("xdotool search --sync --onlyvisible --name 'Quorvex' | head -1");
        window.erase(window.find_last_not_of('\n') + 1);
        return window;
    }

    static void SaveScreenshot(const std::string& name = "quorvex-end-to-end.png") {
        const std::filesystem::path folder = QUORVEX_ARTIFACT_DIR;
        std::filesystem::create_directories(folder);
        RunCommand("import -window root " + (folder / name).string());
    }

    XvfbDisplay display_;
    LoopbackHttpServer server_;
    QuorvexEnvironment environment_;
};

TEST_F(EndToEndTest, TextCopiedInAnotherProgramIsTranslatedAndLookedUp) {
    CopyInAnotherProgram(kCopiedText);
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

TEST_F(EndToEndTest, CopiedChineseWordShowsItsCedictEntryInThePanel) {
    // Without a search host the dictionary sources answer, here CC-CEDICT alone (offline).
    SetEnvironment("QUORVEX_SEARCH_HOST", "");
    SetEnvironment("QUORVEX_DICTIONARIES", "cedict");
    SetEnvironment("QUORVEX_CEDICT", QUORVEX_TEST_DATA "/cedict_ts.u8");
    CopyInAnotherProgram("你好");
    const auto quorvex = StartQuorvex();
    ASSERT_TRUE(ServiceGot("/translate_t", "text=%E4%BD%A0%E5%A5%BD&"));
    // What the panel shows, copied out of it as a person would: click, select all, copy.
    std::string shown;
    PollUntil(
        [&] {
            RunCommand("xdotool mousemove --window " + WindowId() +
                       " 240 360 sleep 0.3 click 1 sleep 0.3 key ctrl+a sleep 0.2 key ctrl+c");
            shown = RunCommand("xclip -selection clipboard -o 2>/dev/null");
            return shown.find("nǐ hǎo") != std::string::npos;
        },
        kStartLimit);
    SaveScreenshot("quorvex-cedict-entry.png");
    EXPECT_NE(shown.find("你好"), std::string::npos) << shown;
    EXPECT_NE(shown.find("nǐ hǎo"), std::string::npos) << shown;
    EXPECT_NE(shown.find("CC-CEDICT"), std::string::npos) << shown;
    for (const RecordedRequest& request : server_.Requests())
        EXPECT_FALSE(request.Target.starts_with("/s?")) << "the classic search was asked";
}

TEST_F(EndToEndTest, SecondStartEndsAtOnceUnlessGivenAnArgument) {
    const auto first = StartQuorvex();
    ASSERT_TRUE(PollUntil(WindowShows, kStartLimit)) << "the first window never showed";
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

TEST_F(EndToEndTest, TextCopiedOutOfTheWindowIsNotTakenBack) {
    CopyInAnotherProgram(kCopiedText);
    const auto quorvex = StartQuorvex();
    ASSERT_TRUE(ServiceGot("/translate_t", "text=hello+world&"));
    EXPECT_NE(ResultBoxText().find(kTranslation), std::string::npos);
    // The next copy made elsewhere comes after the window's own one: once it is translated,
    // the window's own copy has been seen and must have been left alone.
    CopyInAnotherProgram("second text");
    ASSERT_TRUE(ServiceGot("/translate_t", "text=second+text&"));
    EXPECT_EQ(TranslationsAsked(kEncodedTranslation), 0u);
}

TEST_F(EndToEndTest, CopiedLineBreaksGoOutAsCrLf) {
    CopyInAnotherProgram("line one\\nline two");
    const auto quorvex = StartQuorvex();
    EXPECT_TRUE(ServiceGot("/translate_t", "text=line+one%0D%0Aline+two&"));
    EXPECT_TRUE(ServiceGot("/s?ie=gb2312&wd=line%20one%0D%0Aline%20two&ct=1048576", "line"));
}

TEST_F(EndToEndTest, ExitOrCloseWhileARequestWaitsEndsTheProgramAndItStartsAgain) {
    SilentServer silentService;
    SetEnvironment("QUORVEX_TRANSLATE_HOST", silentService.Host());
    const auto windowManager = StartWindowManager();
    const std::vector<std::pair<const char*, std::string>> endings = {
        {"the menu's Exit", "mousemove --window %W " + std::to_string(kBottomRowX) + " " +
                                std::to_string(kBottomRowY) +
                                " click 3 sleep 0.5 key Up sleep 0.2 key Return"},
        {"the window's close", "windowactivate --sync %W key alt+F4"}};
    for (const auto& [name, gesture] : endings) {
        SCOPED_TRACE(name);
        CopyInAnotherProgram(kCopiedText);
        const size_t before = silentService.ConnectionCount();
        const auto quorvex = StartQuorvex();
        ASSERT_TRUE(
            PollUntil([&] { return silentService.ConnectionCount() > before; }, kStartLimit))
            << "no translation request arrived";
        std::string command = "xdotool " + gesture;
        command.replace(command.find("%W"), 2, WindowId());
        // Repeated until it works, for a machine too busy to take the gesture the first time.
        EXPECT_TRUE(PollUntil(
            [&] {
                if (quorvex->Running())
                    RunCommand(command);
                return quorvex->WaitForExit(5s).has_value();
            },
            kStartLimit))
            << "the program did not end";
    }
    const auto again = StartQuorvex();
    EXPECT_TRUE(PollUntil(WindowShows, kStartLimit)) << "the program did not start again";
}

TEST_F(EndToEndTest, StayOnTopBoxLeavesAClipboardTheWindowHasSeenAlone) {
    CopyInAnotherProgram(kCopiedText);
    const auto quorvex = StartQuorvex();
    ASSERT_TRUE(ServiceGot("/translate_t", "text=hello+world&"));
    for (int click = 0; click < 2; ++click) {
        // Each click makes the native window anew, under a new id.
        RunCommand("xdotool mousemove --window " + WindowId() + " " + std::to_string(kStayOnTopX) +
                   " " + std::to_string(kStayOnTopY) + " sleep 0.3 click 1 sleep 1");
    }
    // A later copy is still taken; once it is translated, the clicks have long been handled.
    CopyInAnotherProgram("later text");
    ASSERT_TRUE(ServiceGot("/translate_t", "text=later+text&"));
    EXPECT_EQ(TranslationsAsked("text=hello+world&"), 1u);
}

TEST_F(EndToEndTest, WindowAnswersAndClosesWhileANameLookupNeverEnds) {
    SetEnvironment("LD_PRELOAD", UNANSWERED_RESOLVER);
    SetEnvironment("QUORVEX_TRANSLATE_HOST", "translate.unanswered:80");
    const auto windowManager = StartWindowManager();
    CopyInAnotherProgram(kCopiedText);
    const auto quorvex = StartQuorvex();
    ASSERT_TRUE(PollUntil(WindowShows, kStartLimit)) << "the window never showed";
    // The copy's translation starts three seconds after start and waits on the name lookup from
    // then on; text typed meanwhile must still reach the box.
    std::this_thread::sleep_for(kKeepsRunningFor);
    RunCommand("xdotool mousemove --window " + WindowId() + " " + std::to_string(kBoxX) + " " +
               std::to_string(kSourceBoxY) + " click 1 sleep 0.3 type typed");
    EXPECT_NE(BoxText(kSourceBoxY, "typed").find("typed"), std::string::npos);
    EXPECT_TRUE(PollUntil(
        [&] {
            RunCommand("xdotool windowactivate --sync " + WindowId() + " key alt+F4");
            return quorvex->WaitForExit(5s).has_value();
        },
        kStartLimit))
        << "the program did not end";
}

TEST_F(EndToEndTest, FailedTranslationLeavesErrorAloneInTheResultBox) {
    std::atomic<bool> failing = false;
    LoopbackHttpServer translator([&](const RecordedRequest& request) {
        return failing ? Reply::WithBody(503, "Busy", "") : Answer(request);
    });
    SetEnvironment("QUORVEX_TRANSLATE_HOST", translator.Host());
    CopyInAnotherProgram(kCopiedText);
    const auto quorvex = StartQuorvex();
    ASSERT_NE(ResultBoxText().find(kTranslation), std::string::npos);
    failing = true;
    CopyInAnotherProgram("second text");
    ASSERT_TRUE(translator.WaitForRequests(2, kStartLimit));
    EXPECT_EQ(ResultBoxText("Error"), "Error");
}

TEST_F(EndToEndTest, SecondStartShowsTheHiddenWindowOfTheFirst) {
    const auto windowManager = StartWindowManager();
    const auto first = StartQuorvex();
    ASSERT_TRUE(PollUntil(WindowShows, kStartLimit)) << "the first window never showed";
    ASSERT_TRUE(PollUntil(
        [&] {
            RunCommand("xdotool windowminimize --sync " + WindowId());
            return !WindowShows();
        },
        kStartLimit))
        << "the window did not go away";
    const auto second = StartQuorvex();
    EXPECT_EQ(second->WaitForExit(kStartLimit), 0);
    EXPECT_TRUE(PollUntil(WindowShows, kStartLimit)) << "the first window stayed hidden";
    EXPECT_TRUE(first->Running());
}

// A desktop session ends its programs with SIGTERM: the program ends as its own Exit ends it,
// remembering where the window was.
TEST_F(EndToEndTest, TerminationSignalEndsTheProgramAsItsExitDoes) {
    const auto windowManager = StartWindowManager();
    const auto quorvex = StartQuorvex();
    ASSERT_TRUE(PollUntil(WindowShows, kStartLimit)) << "the window never showed";
    // Moved again until the move holds: the window may still be taking its first place.
    const auto topNear300 = [](const std::string& text, const char* pattern) {
        std::smatch top;
        return std::regex_search(text, top, std::regex(pattern)) &&
               std::abs(std::stoi(top[1]) - 300) <= 30;
    };
    ASSERT_TRUE(PollUntil(
        [&] {
            RunCommand("xdotool windowmove --sync " + WindowId() + " 200 300");
            return topNear300(RunCommand("xwininfo -id " + WindowId()),
                              "Absolute upper-left Y: +(\\d+)");
        },
        kStartLimit))
        << "the window manager did not move the window";
    kill(quorvex->Pid(), SIGTERM);
    EXPECT_EQ(quorvex->WaitForExit(kStartLimit), 0);
    const std::string settings =
        RunCommand("cat " + (environment_.RuntimeDir() / "config/Quorvex/Quorvex.conf").string());
    EXPECT_TRUE(topNear300(settings, "Top=(\\d+)")) << settings;
}

// A screen as small as the one where the fault was seen: 1024 x 768.
class SmallScreenEndToEndTest : public EndToEndTest {
protected:
    SmallScreenEndToEndTest()
        : EndToEndTest("1024x768x24") {}
};

TEST_F(SmallScreenEndToEndTest, LookupFailureBoxComesOnlyForTheWindowsOwnTriggerAboveIt) {
    SetEnvironment("QUORVEX_SEARCH_HOST", kRefusingHost);
    const auto windowManager = StartWindowManager();
    CopyInAnotherProgram(kCopiedText);
    const auto quorvex = StartQuorvex();
    ASSERT_TRUE(ServiceGot("/translate_t", "text=hello+world&"));
    // The copy's lookup fails at once; its reason goes to the web panel, not into a box.
    EXPECT_FALSE(PollUntil(FailureBoxShows, kKeepsRunningFor)) << "a copy brought up a box";
    SaveScreenshot("quorvex-failure-status-openbox.png");
    RunCommand("xdotool mousemove --window " + WindowId() + " " + std::to_string(kBoxX) + " " +
               std::to_string(kSourceBoxY) + " sleep 0.3 key Return");
    std::string box;
    ASSERT_TRUE(PollUntil(
        [&] {
            box = RunCommand("xdotool search --onlyvisible --name '^Virovedezori$' | head -1");
            return !box.empty();
        },
        kStartLimit))
        << "no failure box showed";
    const unsigned long boxId = std::stoul(box);
    const unsigned long windowId = std::stoul(WindowId());
    EXPECT_EQ(WindowIds(RunCommand("xprop -id " + std::to_string(boxId) + " WM_TRANSIENT_FOR")),
              std::vector<unsigned long>{windowId});
    std::vector<unsigned long> stacking;
    // openbox lists the box once it has managed it; bottom first.
    PollUntil([&] {
        stacking = WindowIds(RunCommand("xprop -root _NET_CLIENT_LIST_STACKING"));
        return std::ranges::find(stacking, boxId) != stacking.end();
    });
    const auto boxAt = std::ranges::find(stacking, boxId);
    const auto windowAt = std::ranges::find(stacking, windowId);
    ASSERT_NE(boxAt, stacking.end());
    ASSERT_NE(windowAt, stacking.end());
    EXPECT_GT(boxAt - stacking.begin(), windowAt - stacking.begin())
        << "the box lies under the window";
    SaveScreenshot("quorvex-failure-box-openbox.png");
}

} // namespace
} // namespace quorvex
