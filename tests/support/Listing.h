#pragma once

#include <gtest/gtest.h>

namespace quorvex::test_support {

// ctest lists every program's cases before it runs them; a main() that starts a display, a bus
// or an application checks this first (after testing::InitGoogleTest) and only lists.
inline bool OnlyListingTests() {
    return GTEST_FLAG_GET(list_tests);
}

} // namespace quorvex::test_support
