#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

std::string ReadFile(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(ReplacerInProgram, QuorvexHoldsTheBuiltReplacerUncompressed) {
    const std::string replacer = ReadFile(QV_REPLACER_PATH);
    ASSERT_FALSE(replacer.empty());
    EXPECT_NE(ReadFile(QV_PROGRAM_PATH).find(replacer), std::string::npos);
}

} // namespace
