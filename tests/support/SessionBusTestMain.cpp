// main() of the GUI test programs that talk over D-Bus: a Qt application object and a private
// session bus. The bus comes second, so that a platform that cannot start leaves no bus daemon
// behind; nothing connects to a session bus before the tests run.
#include "platform/gui/Application.h"
#include "support/Listing.h"
#include "support/SessionBus.h"

#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (quorvex::test_support::OnlyListingTests()) {
        return RUN_ALL_TESTS();
    }
    quorvex::platform::TApplication application(argc, argv, "Virovedezori");
    const quorvex::test_support::SessionBus bus;
    setenv("DBUS_SESSION_BUS_ADDRESS", bus.Address().c_str(), 1);
    return RUN_ALL_TESTS();
}
