#include "platform/Browser.h"

#include "platform/DesktopExec.h"
#include "platform/Shell.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quorvex::platform {
namespace {

inline constexpr const char* kHttpHandlerType = "x-scheme-handler/http";
inline constexpr const char* kNewWindowOption = "--new-window";

// Browsers known to take kNewWindowOption before the URL; others get the URL alone, as their
// desktop entry asks.
inline constexpr std::array<std::string_view, 11> kNewWindowBrowsers{
    "firefox",       "firefox-esr",
    "chromium",      "chromium-browser",
    "google-chrome", "google-chrome-stable",
    "brave-browser", "microsoft-edge",
    "vivaldi",       "opera",
    "epiphany"};

std::string_view ProgramName(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool TakesNewWindowOption(const std::string& program) {
    for (const auto name : kNewWindowBrowsers)
        if (ProgramName(program) == name)
            return true;
    return false;
}

bool StartDefaultBrowser(const std::string& url) {
    std::vector<std::string> arguments = ExecArguments(DefaultHandlerExec(kHttpHandlerType), url);
    if (arguments.empty())
        return false;
    const auto urlArgument = std::find(arguments.begin() + 1, arguments.end(), url);
    if (TakesNewWindowOption(arguments.front()) && urlArgument != arguments.end())
        arguments.insert(urlArgument, kNewWindowOption);
    return StartArguments(arguments);
}

} // namespace

void OpenInNewBrowserWindow(const std::string& url) {
    if (StartDefaultBrowser(url) || OpenWithDesktop(url))
        return;
    throw EBrowserError("无法打开 " + url +
                        "：没有能启动的网页浏览器（http 地址的默认程序和 xdg-open 都不行）。");
}

} // namespace quorvex::platform
