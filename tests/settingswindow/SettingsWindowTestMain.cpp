// main() of the settings window suite: a private Xvfb with openbox, the xcb platform, and Qt's
// texts in Chinese as the program has them.
#include "platform/gui/Application.h"
#include "platform/gui/QtTranslations.h"
#include "support/WindowManager.h"
#include "support/XvfbDisplay.h"

#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    quorvex::test_support::XvfbDisplay display;
    setenv("DISPLAY", display.Name().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    const auto windowManager =
        quorvex::test_support::StartWindowManager(display.Name(), std::chrono::seconds(120));
    if (windowManager == nullptr) {
        std::fprintf(stderr, "openbox did not come up\n");
        return 1;
    }
    quorvex::platform::TApplication application(argc, argv, "Virovedezori");
    quorvex::platform::UseChineseQtTexts(application);
    return RUN_ALL_TESTS();
}
