#include <QCoreApplication>
#include <gtest/gtest.h>

// main() for suites whose components hand calls to the user-interface thread: the test body
// runs on the thread of the application object.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
