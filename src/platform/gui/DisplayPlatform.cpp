#include "platform/gui/DisplayPlatform.h"

#include <QGuiApplication>
#include <cstdlib>
#include <iostream>

namespace quorvex::platform {

namespace {

bool IsSet(const char* value) {
    return value != nullptr && *value != '\0';
}

} // namespace

std::optional<std::string>
ChosenDisplayPlatform(const std::function<const char*(const char* name)>& variable) {
    if (IsSet(variable("QT_QPA_PLATFORM")))
        return std::nullopt;
    if (const char* own = variable("QUORVEX_PLATFORM"); IsSet(own))
        return own;
    if (IsSet(variable("WAYLAND_DISPLAY")) && IsSet(variable("DISPLAY")))
        return "xcb";
    return std::nullopt;
}

void ChooseDisplayPlatform() {
    if (const auto platform = ChosenDisplayPlatform(&std::getenv))
        setenv("QT_QPA_PLATFORM", platform->c_str(), 1);
}

std::string PlatformLimits(const std::string& platformName) {
    if (!platformName.starts_with("wayland"))
        return {};
    return "Quorvex runs on Wayland without XWayland: it translates, but it cannot place its "
           "window at the top of the screen, dock and slide away there, or keep it on top, and "
           "it sees the clipboard only while its window has the focus. Start it where DISPLAY "
           "is set (XWayland) for all of these.";
}

void ReportPlatformLimits() {
    const std::string limits = PlatformLimits(QGuiApplication::platformName().toStdString());
    if (!limits.empty())
        std::cerr << limits << '\n';
}

} // namespace quorvex::platform
