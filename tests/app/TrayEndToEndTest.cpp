// The window and its tray icon on a real desktop: Xvfb with openbox as the window manager and
// trayer as the notification area (or a StatusNotifierItem tray played by the test on a private
// session bus), driven with xdotool as a user would, and looked at with xprop and xwininfo.
#include "support/ChildProcess.h"
#include "support/LoopbackHttpServer.h"
#include "support/Pumping.h"
#include "support/QuorvexEnvironment.h"
#include "support/SessionBus.h"
#include "support/TestStatusNotifierWatcher.h"
#include "support/Waiting.h"
#include "support/WindowManager.h"
#include "support/XvfbDisplay.h"

#include <QImage>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <regex>

namespace quorvex {
namespace {

using namespace std::chrono_literals;
using test_support::ChildProcess;
using test_support::LoopbackHttpServer;
using test_support::PollUntil;
using test_support::PumpFor;
using test_support::PumpUntil;
using test_support::QuorvexEnvironment;
using test_support::RecordedRequest;
using test_support::Reply;
using test_support::RunCommand;
using test_support::SessionBus;
using test_support::TestStatusNotifierWatcher;
using test_support::XvfbDisplay;

inline constexpr auto kLimit = 120s;
// Far below the window, which the start places at the top of the 1280 x 800 screen.
inline constexpr const char* kPointerAway = "640 780";
// Inside the window's client area, on the stay-on-top box "置顶" (group box at 0, 0).
inline constexpr const char* kStayOnTopBox = "400 28";
// openbox's frame around a window: the title bar and the border below.
inline constexpr int kFrameTop = 20;
inline constexpr int kFrameBottom = 1;
// The rows a slid window leaves on screen, and the height of the test's panel.
inline constexpr int kHandleRows = 3;
inline constexpr int kTrayHeight = 24;
// Where openbox's minimize button is in the title bar: this far left of the client's right edge.
inline constexpr int kMinimizeButtonLeft = 43;

Reply Answer(const RecordedRequest& request) {
    if (request.Target.starts_with("/translate_t"))
        return Reply::WithBody(200, "OK",
                               "<div id=result_box dir=\"ltr\">ok</div></td></tr><tr><td "
                               "class=submitcell>");
    return Reply::WithBody(404, "Not Found", "");
}

std::string Trimmed(std::string text) {
    text.erase(text.find_last_not_of(" \n") + 1);
    return text;
}

struct Rect {
    int x, y, width, height;
    int CentreX() const { return x + width / 2; }
    int CentreY() const { return y + height / 2; }
};

class TrayEndToEndTest : public testing::Test {
protected:
    explicit TrayEndToEndTest(const std::string& windowManager = "openbox")
        : server_(Answer)
        , environment_(display_.Name(), server_.Host()) {
        setenv("DISPLAY", display_.Name().c_str(), 1);
        std::vector<std::string> windowManagerEnvironment;
        // xfwm4 and KWin keep their settings through services on the session bus.
        if (windowManager != "openbox" && windowManager != "fluxbox") {
            windowManagerBus_.emplace();
            windowManagerEnvironment.push_back("DBUS_SESSION_BUS_ADDRESS=" +
                                               windowManagerBus_->Address());
        }
        windowManager_ = test_support::StartWindowManager(display_.Name(), kLimit, windowManager,
                                                          windowManagerEnvironment);
        EXPECT_NE(windowManager_, nullptr) << windowManager << " did not come up";
        RunCommand("xdotool mousemove " + std::string(kPointerAway));
    }
    ~TrayEndToEndTest() override {
        quorvex_.reset();
        tray_.reset();
        windowManager_.reset();
    }

    // `reserveRows`: the panel keeps its rows from other windows, as a desktop's top panel does.
    void StartTray(bool reserveRows = false) {
        tray_ = std::make_unique<ChildProcess>(std::vector<std::string>{
            "trayer", "--edge", "top", "--align", "right", "--widthtype", "request", "--height",
            std::to_string(kTrayHeight), "--SetPartialStrut", reserveRows ? "true" : "false"});
        ASSERT_TRUE(PollUntil([] { return !TrayPanel().empty(); }, kLimit))
            << "trayer did not come up";
    }
    void StartQuorvex() {
        quorvex_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{QUORVEX_BINARY_DIR "/quorvex"}, environment_.Variables());
        ASSERT_TRUE(PollUntil([] { return !VisibleWindow().empty(); }, kLimit))
            << "the window never showed";
    }

    // trayer's panel window, which holds the icons it docks.
    static std::string TrayPanel() {
        return Trimmed(
            RunCommand("xwininfo -root -tree 2>/dev/null | grep '(\"panel\" \"trayer\")' "
                       "| awk '{print $1}' | head -1"));
    }
    // Where Quorvex's icon is docked in the tray, if it is.
    static std::optional<Rect> TrayIconPlace() {
        const std::string panel = TrayPanel();
        if (panel.empty())
            return std::nullopt;
        const std::string tree = RunCommand("xwininfo -tree -id " + panel + " 2>/dev/null");
        static const std::regex icon(
            R"re("Virovedezori": \("quorvex" "Virovedezori"\)\s+(\d+)x(\d+)\S*\s+\+(-?\d+)\+(-?\d+))re");
        std::smatch found;
        if (!std::regex_search(tree, found, icon))
            return std::nullopt;
        return Rect{std::stoi(found[3]), std::stoi(found[4]), std::stoi(found[1]),
                    std::stoi(found[2])};
    }
    static std::string VisibleWindow() {
        return Trimmed(RunCommand("xdotool search --onlyvisible --name 'Quorvex  V' | head -1"));
    }
    static std::string AnyWindow() {
        return Trimmed(RunCommand("xdotool search --name 'Quorvex  V' | head -1"));
    }
    static std::string WindowState(const std::string& window) {
        return RunCommand("xprop -id " + window + " _NET_WM_STATE WM_STATE 2>/dev/null");
    }
    // The client area of the window on the screen.
    static Rect WindowPlace(const std::string& window) {
        const std::string info = RunCommand("xwininfo -id " + window);
        const auto field = [&](const char* name) {
            const std::size_t at = info.find(name);
            return at == std::string::npos ? 0 : std::stoi(info.substr(at + std::strlen(name)));
        };
        return {field("Absolute upper-left X:"), field("Absolute upper-left Y:"), field("Width:"),
                field("Height:")};
    }
    static void DoubleClickTrayIcon(const Rect& icon) {
        RunCommand("xdotool mousemove " + std::to_string(icon.CentreX()) + " " +
                   std::to_string(icon.CentreY()) + " click --repeat 2 --delay 60 1 mousemove " +
                   kPointerAway);
    }
    // The gesture again until `done`: a machine this busy may take it as two clicks.
    static bool DoubleClickTrayIconUntil(const std::function<bool()>& done) {
        return PollUntil(
            [&] {
                if (const auto icon = TrayIconPlace())
                    DoubleClickTrayIcon(*icon);
                return PollUntil(done, 3s);
            },
            kLimit);
    }
    void SaveScreenshot(const std::string& name) {
        const std::filesystem::path folder = QUORVEX_ARTIFACT_DIR;
        std::filesystem::create_directories(folder);
        RunCommand("import -window root " + (folder / name).string());
    }

    // The icon as a StatusNotifierItem panel draws it.
    void SaveLargestImage(const platform::TStatusNotifierPixmaps& pixmaps,
                          const std::string& name) {
        ASSERT_FALSE(pixmaps.isEmpty()) << "the icon has no image";
        const auto largest =
            std::ranges::max(pixmaps, {}, [](const platform::TStatusNotifierPixmap& pixmap) {
                return pixmap.Width;
            });
        QImage image(largest.Width, largest.Height, QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y,
                               qFromBigEndian<quint32>(largest.Pixels.constData() +
                                                       (y * largest.Width + x) * 4));
        const std::filesystem::path folder = QUORVEX_ARTIFACT_DIR;
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(image.save(QString::fromStdString((folder / name).string())));
    }

    XvfbDisplay display_;
    LoopbackHttpServer server_;
    QuorvexEnvironment environment_;
    std::optional<SessionBus> windowManagerBus_;
    std::unique_ptr<test_support::TestWindowManager> windowManager_;
    std::unique_ptr<ChildProcess> tray_;
    std::unique_ptr<ChildProcess> quorvex_;
};

TEST_F(TrayEndToEndTest, TheTrayIconHidesAndShowsTheWindowAndItsMenuEndsTheProgram) {
    StartTray();
    StartQuorvex();
    ASSERT_TRUE(PollUntil([] { return TrayIconPlace().has_value(); }, kLimit))
        << "the icon never appeared in the tray";
    ASSERT_TRUE(PollUntil(
        [] { return WindowState(VisibleWindow()).find("SKIP_TASKBAR") != std::string::npos; },
        kLimit))
        << "the window has a taskbar entry";
    EXPECT_NE(
        RunCommand("xprop -id " + VisibleWindow() + " _NET_WM_WINDOW_OPACITY").find("4210752250"),
        std::string::npos)
        << "opacity 250 of 255";
    SaveScreenshot("quorvex-tray.png");

    ASSERT_TRUE(DoubleClickTrayIconUntil([] { return VisibleWindow().empty(); }))
        << "a double-click on the icon did not hide the window";
    ASSERT_TRUE(DoubleClickTrayIconUntil([] { return !VisibleWindow().empty(); }))
        << "a double-click on the icon did not show the window again";

    // The minimize button sends the window to the tray.
    const Rect place = WindowPlace(VisibleWindow());
    RunCommand("xdotool mousemove " + std::to_string(place.x + place.width - kMinimizeButtonLeft) +
               " " + std::to_string(place.y - kFrameTop / 2) + " click 1 mousemove " +
               kPointerAway);
    const std::string window = AnyWindow();
    // Withdrawn into the tray, not merely minimized (iconic) as a window without a tray is.
    ASSERT_TRUE(PollUntil(
        [&] {
            return VisibleWindow().empty() &&
                   WindowState(window).find("Iconic") == std::string::npos;
        },
        kLimit))
        << "minimizing did not send the window to the tray: " << WindowState(window);
    EXPECT_TRUE(TrayIconPlace().has_value());
    ASSERT_TRUE(DoubleClickTrayIconUntil([] { return !VisibleWindow().empty(); }))
        << "the window did not come back from the tray";
    // Esc sends the window into the tray as well.
    RunCommand("xdotool windowactivate --sync " + VisibleWindow() + " key Escape");
    ASSERT_TRUE(PollUntil([] { return VisibleWindow().empty(); }, kLimit))
        << "Esc did not hide the window";
    ASSERT_TRUE(DoubleClickTrayIconUntil([] { return !VisibleWindow().empty(); }));

    // The tray goes away: the window gets its taskbar entry back; a new tray gets the icon.
    tray_.reset();
    ASSERT_TRUE(PollUntil(
        [] { return WindowState(VisibleWindow()).find("SKIP_TASKBAR") == std::string::npos; },
        kLimit))
        << "without a tray the window must be in the taskbar";
    StartTray();
    ASSERT_TRUE(PollUntil([] { return TrayIconPlace().has_value(); }, kLimit))
        << "the icon did not come back into a restarted tray";
    EXPECT_TRUE(PollUntil(
        [] { return WindowState(VisibleWindow()).find("SKIP_TASKBAR") != std::string::npos; },
        kLimit));

    // A right-click opens the tray menu; its last entry, "退出(Exit)", ends the program.
    const Rect icon = *TrayIconPlace();
    EXPECT_TRUE(PollUntil(
        [&] {
            RunCommand("xdotool mousemove " + std::to_string(icon.CentreX()) + " " +
                       std::to_string(icon.CentreY()) + " click 3 sleep 0.5 key Up Return");
            return quorvex_->WaitForExit(3s).has_value();
        },
        kLimit))
        << "the tray menu's Exit did not end the program";
}

// The panel of an autostarted desktop comes after the program, and speaks StatusNotifierItem.
TEST_F(TrayEndToEndTest, AStatusNotifierTrayThatComesLaterGetsTheIconThatTogglesTheWindow) {
    const SessionBus bus;
    environment_.Set("DBUS_SESSION_BUS_ADDRESS", bus.Address());
    StartQuorvex();
    TestStatusNotifierWatcher watcher(QString::fromStdString(bus.Address()));
    ASSERT_TRUE(watcher.WaitForItem()) << "the icon never registered with the tray";
    PumpFor(1s);
    EXPECT_EQ(watcher.Items().size(), 1) << "one icon, not Qt's as well";
    ASSERT_TRUE(PumpUntil(
        [] { return WindowState(VisibleWindow()).find("SKIP_TASKBAR") != std::string::npos; },
        kLimit))
        << "with a tray the window needs no taskbar entry";
    SaveScreenshot("quorvex-status-notifier-tray.png");
    SaveLargestImage(watcher.ItemStructure<platform::TStatusNotifierPixmaps>("IconPixmap"),
                     "quorvex-status-notifier-icon.png");
    // The panel's two activations of a double-click; again, should a busy machine space them
    // beyond the double-click time.
    const auto doubleClickUntil = [&](const std::function<bool()>& done) {
        return PumpUntil(
            [&] {
                watcher.CallItem("Activate", {1200, 10});
                watcher.CallItem("Activate", {1200, 10});
                return PumpUntil(done, 3s);
            },
            kLimit);
    };
    ASSERT_TRUE(doubleClickUntil([] { return VisibleWindow().empty(); }))
        << "a double-click on the icon did not hide the window";
    ASSERT_TRUE(doubleClickUntil([] { return !VisibleWindow().empty(); }))
        << "a double-click on the icon did not show the window again";
}

TEST_F(TrayEndToEndTest, UntickingStayOnTopKeepsTheClipboardWatch) {
    StartTray();
    StartQuorvex();
    ASSERT_TRUE(PollUntil(
        [] {
            return WindowState(VisibleWindow()).find("_NET_WM_STATE_ABOVE") != std::string::npos;
        },
        kLimit));
    RunCommand("xdotool mousemove --window " + VisibleWindow() + " " + kStayOnTopBox +
               " click 1 mousemove " + kPointerAway);
    ASSERT_TRUE(PollUntil(
        [] {
            const std::string window = VisibleWindow();
            return !window.empty() &&
                   WindowState(window).find("_NET_WM_STATE_ABOVE") == std::string::npos;
        },
        kLimit))
        << "the window stayed on top";
    // The watch was registered again with the new native window: copies still translate.
    RunCommand("printf 'after the switch' | xclip -selection clipboard >/dev/null 2>&1");
    EXPECT_TRUE(PollUntil(
        [&] {
            for (const RecordedRequest& request : server_.Requests())
                if (request.Body.find("text=after+the+switch") != std::string::npos)
                    return true;
            return false;
        },
        kLimit))
        << "the copy after the switch was not translated";
}

TEST_F(TrayEndToEndTest, WithoutATrayMinimizeAndShowHideNeverLoseTheWindow) {
    StartQuorvex();
    const std::string window = VisibleWindow();
    // The window paints without a tray: it keeps its taskbar entry.
    PollUntil([&] { return WindowState(window).find("SKIP_TASKBAR") != std::string::npos; }, 5s);
    EXPECT_EQ(WindowState(window).find("SKIP_TASKBAR"), std::string::npos);
    // "显示/隐藏" from the window's own menu leaves it on screen.
    const Rect place = WindowPlace(window);
    RunCommand("xdotool mousemove " + std::to_string(place.x + 240) + " " +
               std::to_string(place.y + 5) + " click 3 sleep 0.5 key Down Return");
    PollUntil([] { return VisibleWindow().empty(); }, 5s);
    EXPECT_FALSE(VisibleWindow().empty()) << "the window was hidden with no tray to bring it back";
    // A minimize is an ordinary one: the window stays, minimized, with its taskbar entry.
    RunCommand("xdotool windowminimize " + window);
    ASSERT_TRUE(
        PollUntil([&] { return WindowState(window).find("Iconic") != std::string::npos; }, kLimit))
        << WindowState(window);
    EXPECT_EQ(WindowState(window).find("SKIP_TASKBAR"), std::string::npos);
    RunCommand("xdotool windowactivate " + window);
    EXPECT_TRUE(PollUntil([] { return !VisibleWindow().empty(); }, kLimit))
        << "the minimized window could not be brought back";
    // A tray that comes while the window is minimized takes it in, and gives it back.
    RunCommand("xdotool windowminimize " + window);
    ASSERT_TRUE(
        PollUntil([&] { return WindowState(window).find("Iconic") != std::string::npos; }, kLimit))
        << WindowState(window);
    StartTray();
    EXPECT_TRUE(
        PollUntil([&] { return WindowState(window).find("Iconic") == std::string::npos; }, kLimit))
        << "the minimized window was left without its taskbar entry: " << WindowState(window);
    EXPECT_TRUE(DoubleClickTrayIconUntil([] { return !VisibleWindow().empty(); }))
        << "the window did not come back from the tray";
}

// Ticking "置顶" again, twice over: the window stays where it is and out of the taskbar.
TEST_F(TrayEndToEndTest, StayOnTopSwitchesKeepThePlaceAndTheTaskbarState) {
    StartTray();
    StartQuorvex();
    const std::string window = VisibleWindow();
    ASSERT_TRUE(PollUntil(
        [&] { return WindowState(window).find("SKIP_TASKBAR") != std::string::npos; }, kLimit));
    const Rect start = WindowPlace(window);
    for (const bool onTop : {false, true, false, true}) {
        RunCommand("xdotool mousemove --window " + VisibleWindow() + " " + kStayOnTopBox +
                   " click 1 mousemove " + kPointerAway);
        const auto switched = [&] {
            return (WindowState(VisibleWindow()).find("_NET_WM_STATE_ABOVE") !=
                    std::string::npos) == onTop;
        };
        ASSERT_TRUE(PollUntil(switched, kLimit)) << "stay on top did not become " << onTop;
        const Rect place = WindowPlace(VisibleWindow());
        EXPECT_EQ(place.x, start.x) << onTop;
        EXPECT_EQ(place.y, start.y) << onTop;
        EXPECT_NE(WindowState(VisibleWindow()).find("SKIP_TASKBAR"), std::string::npos) << onTop;
    }
}

// A panel along the top of the screen: the window starts below it, inside the work area.
TEST_F(TrayEndToEndTest, TheWindowStartsBelowATopPanel) {
    StartTray(true);
    ASSERT_TRUE(PollUntil(
        [] {
            return RunCommand("xprop -root _NET_WORKAREA").find("= 0, 24,") != std::string::npos;
        },
        kLimit))
        << "the panel did not reserve its rows: " << RunCommand("xprop -root _NET_WORKAREA");
    StartQuorvex();
    EXPECT_GE(WindowPlace(VisibleWindow()).y - kFrameTop, kTrayHeight);
}

// The same docking under the window managers people use. Where one keeps part of every window
// on screen, the window hides behind a strip at the top edge instead.
class DockingEndToEndTest : public TrayEndToEndTest,
                            public testing::WithParamInterface<const char*> {
protected:
    DockingEndToEndTest()
        : TrayEndToEndTest(GetParam()) {}
};

TEST_P(DockingEndToEndTest, ADockedWindowSlidesOutOfSightWhenLeftAndComesBackOnItsLastRows) {
    StartQuorvex();
    const std::string window = VisibleWindow();
    const Rect start = WindowPlace(window);
    // The pointer on the window keeps the leave watch running; the window manager docks it.
    RunCommand("xdotool mousemove " + std::to_string(start.CentreX()) + " " +
               std::to_string(start.CentreY()) + " windowmove " + window + " " +
               std::to_string(start.x) + " 0");
    ASSERT_TRUE(PollUntil([&] { return WindowPlace(window).y <= 30; }, kLimit))
        << "the window manager did not move the window to the top: it is at "
        << WindowPlace(window).y;
    // A window manager that ends a quick drag above the edge, as fluxbox does, leaves the title
    // bar out of reach: the window under the pointer goes back to the edge.
    RunCommand("xdotool windowmove " + window + " " + std::to_string(start.x) + " -60");
    ASSERT_TRUE(PollUntil([&] { return WindowPlace(window).y >= 0; }, kLimit))
        << "the window stayed above the edge: its client area is at " << WindowPlace(window).y;
    RunCommand(std::string("xdotool mousemove ") + kPointerAway);
    // Out of sight: above the edge but for its handle rows, or hidden behind the strip.
    const auto outOfSight = [&] {
        return VisibleWindow().empty() || WindowPlace(window).y + start.height <= kHandleRows;
    };
    ASSERT_TRUE(PollUntil(outOfSight, kLimit))
        << "the window is still on screen: its client area is at " << WindowPlace(window).y;
    RecordProperty("hidden_by", VisibleWindow().empty() ? "strip" : "slide");
    SaveScreenshot(std::string("quorvex-slid-up-") + GetParam() + ".png");
    RunCommand("xdotool mousemove " + std::to_string(start.CentreX()) + " 1");
    EXPECT_TRUE(
        PollUntil([&] { return !VisibleWindow().empty() && WindowPlace(window).y >= 0; }, kLimit))
        << "the pointer on the last rows did not bring the window back";
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, DockingEndToEndTest,
                         testing::Values("openbox", "xfwm4", "fluxbox", "kwin"));

} // namespace
} // namespace quorvex
