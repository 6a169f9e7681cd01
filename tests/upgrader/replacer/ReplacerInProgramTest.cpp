#include "support/Files.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

using quorvex::test_support::ReadWholeFile;

TEST(ReplacerInProgram, QuorvexHoldsTheBuiltReplacerUncompressed) {
    const std::string replacer = ReadWholeFile(QV_REPLACER_PATH);
    ASSERT_FALSE(replacer.empty());
    EXPECT_NE(ReadWholeFile(QV_PROGRAM_PATH).find(replacer), std::string::npos);
}

} // namespace
