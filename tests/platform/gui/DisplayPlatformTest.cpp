#include "platform/gui/DisplayPlatform.h"

#include <gtest/gtest.h>
#include <map>

namespace quorvex::platform {
namespace {

TEST(DisplayPlatform, XWaylandIsPreferredUnlessAPlatformIsNamed) {
    struct Case {
        std::map<std::string, std::string> environment;
        std::optional<std::string> chosen;
        const char* what;
    };
    const Case cases[] = {
        {{{"DISPLAY", ":0"}}, std::nullopt, "plain X11"},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, std::nullopt, "pure Wayland"},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, "xcb", "Wayland with XWayland"},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ""}}, std::nullopt, "an empty DISPLAY"},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}},
         std::nullopt,
         "Qt's own variable"},
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QUORVEX_PLATFORM", "wayland"}},
         "wayland",
         "Quorvex's variable"},
        {{{"QUORVEX_PLATFORM", "offscreen"}, {"QT_QPA_PLATFORM", "xcb"}},
         std::nullopt,
         "Qt's variable before Quorvex's"},
    };
    for (const Case& item : cases) {
        const auto variable = [&](const char* name) -> const char* {
            const auto found = item.environment.find(name);
            return found == item.environment.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(ChosenDisplayPlatform(variable), item.chosen) << item.what;
    }
}

TEST(DisplayPlatform, OnlyWaylandHasLimitsToReport) {
    EXPECT_EQ(PlatformLimits("xcb"), "");
    EXPECT_EQ(PlatformLimits("offscreen"), "");
    EXPECT_NE(PlatformLimits("wayland").find("top of the screen"), std::string::npos);
    EXPECT_NE(PlatformLimits("wayland-egl").find("clipboard"), std::string::npos);
}

} // namespace
} // namespace quorvex::platform
