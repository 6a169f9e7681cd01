// main() of the GUI test programs that talk over D-Bus: a private session bus, set up before
// anything can connect to the desktop's, and a Qt application object.
#include "platform/gui/Application.h"
#include "support/SessionBus.h"

#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const quorvex::test_support::SessionBus bus;
    setenv("DBUS_SESSION_BUS_ADDRESS", bus.Address().c_str(), 1);
    quorvex::platform::TApplication application(argc, argv, "Virovedezori");
    return RUN_ALL_TESTS();
}
