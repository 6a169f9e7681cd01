// main() of the GUI test programs: the tests need a Qt application object.
#include "platform/gui/Application.h"
#include "support/Listing.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (quorvex::test_support::OnlyListingTests()) {
        return RUN_ALL_TESTS();
    }
    quorvex::platform::TApplication application(argc, argv, "Virovedezori");
    return RUN_ALL_TESTS();
}
