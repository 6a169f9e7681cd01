// main() of the settings window suite: on screen, with Qt's texts in Chinese as the program has
// them.
#include "platform/gui/QtTranslations.h"
#include "support/OnScreen.h"

int main(int argc, char** argv) {
    return quorvex::test_support::RunOnScreen(
        argc, argv, [](auto& application) { quorvex::platform::UseChineseQtTexts(application); });
}
