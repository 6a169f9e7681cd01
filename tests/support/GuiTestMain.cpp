// main() of the GUI test programs: the tests need a Qt application object.
#include "platform/gui/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    quorvex::platform::TApplication application(argc, argv, "Virovedezori");
    return RUN_ALL_TESTS();
}
