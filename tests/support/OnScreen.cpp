#include "support/OnScreen.h"

#include "support/Listing.h"
#include "support/WindowManager.h"
#include "support/XvfbDisplay.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace quorvex::test_support {

int RunOnScreen(int argc, char** argv,
                const std::function<void(platform::TApplication&)>& prepare) {
    testing::InitGoogleTest(&argc, argv);
    if (OnlyListingTests())
        return RUN_ALL_TESTS();
    XvfbDisplay display;
    setenv("DISPLAY", display.Name().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    // Windows shown before the window manager runs would get no frame.
    const auto windowManager = StartWindowManager(display.Name(), std::chrono::seconds(120));
    if (windowManager == nullptr) {
        std::fprintf(stderr, "openbox did not come up\n");
        return 1;
    }
    platform::TApplication application(argc, argv, "Virovedezori");
    if (prepare)
        prepare(application);
    return RUN_ALL_TESTS();
}

} // namespace quorvex::test_support
