#include "support/WindowManager.h"

#include "platform/Exception.h"
#include "support/Waiting.h"

#include <map>
#include <thread>

namespace quorvex::test_support {

namespace {

inline constexpr std::chrono::seconds kSettleTime{1};

// Each without what needs a graphics card or a desktop session: xfwm4 and KWin composite
// with OpenGL, which Xvfb lacks.
std::vector<std::string> CommandLine(const std::string& name) {
    static const std::map<std::string, std::vector<std::string>> commandLines{
        {"openbox", {"openbox"}},
        {"xfwm4", {"xfwm4", "--compositor=off"}},
        {"fluxbox", {"fluxbox"}},
        {"kwin", {"env", "KWIN_COMPOSE=N", "kwin_x11", "--replace"}}};
    const auto found = commandLines.find(name);
    if (found == commandLines.end())
        throw Exception("No window manager called " + name);
    // What they report about a desktop they do not find whole is no concern of the tests.
    std::vector<std::string> quiet{"sh", "-c", "exec \"$@\" >/dev/null 2>&1", name};
    quiet.insert(quiet.end(), found->second.begin(), found->second.end());
    return quiet;
}

} // namespace

std::unique_ptr<TestWindowManager> StartWindowManager(const std::string& display,
                                                      std::chrono::milliseconds limit,
                                                      const std::string& name,
                                                      const std::vector<std::string>& environment) {
    std::vector<std::string> variables = environment;
    variables.push_back("DISPLAY=" + display);
    // fluxbox and KWin write their configuration into the home folder: a private one keeps
    // the person's own untouched and every run starting from the defaults.
    TemporaryFolder homeFolder("quorvex-wm-home");
    const std::string home = homeFolder.Path().string();
    variables.push_back("HOME=" + home);
    variables.push_back("XDG_CONFIG_HOME=" + home + "/.config");
    // fluxbox sets its style's wallpaper, and says in a box on the desktop that it could not:
    // the screenshots need neither.
    if (name == "fluxbox")
        RunCommand("mkdir -p " + home + "/.fluxbox && echo 'background: none' > " + home +
                   "/.fluxbox/overlay");
    std::unique_ptr<ChildProcess> windowManager;
    const bool managing = PollUntil(
        [&] {
            if (windowManager == nullptr || !windowManager->Running())
                windowManager = std::make_unique<ChildProcess>(CommandLine(name), variables);
            return RunCommand("DISPLAY=" + display +
                              " xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null")
                       .find("window id") != std::string::npos;
        },
        limit);
    // A window manager names itself on the root window before it has finished starting; a
    // window mapped in that moment may never be shown, and a panel's reserved rows never counted.
    if (managing)
        std::this_thread::sleep_for(kSettleTime);
    if (!managing)
        return nullptr;
    return std::make_unique<TestWindowManager>(std::move(homeFolder), std::move(windowManager));
}

} // namespace quorvex::test_support
