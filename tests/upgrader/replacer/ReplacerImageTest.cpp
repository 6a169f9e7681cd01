#include "download/upStreams.h"
#include "download/upUtils.h"
#include "support/ChildProcess.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace quorvex;

namespace {

namespace fs = std::filesystem;

TEST(ReplacerImage, ProgramCarriesTheBuiltReplacerByteForByteAndItRuns) {
    TMemoryStream stream;
    ASSERT_TRUE(SaveResourceToStream("QVRPL", "QVRPL", &stream));
    std::ifstream built(QV_REPLACER_PATH, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(built),
                               std::istreambuf_iterator<char>()};
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(stream.Text() == expected) << "the resource holds " << stream.Size()
                                           << " bytes, the built replacer " << expected.size();

    const fs::path written = fs::temp_directory_path() / ("QvReplacer-" + std::to_string(getpid()));
    std::ofstream(written, std::ios::binary) << stream.Text();
    fs::permissions(written, fs::perms::owner_all);
    test_support::ChildProcess replacer({written.string()});
    EXPECT_EQ(replacer.WaitForExit(std::chrono::seconds(60)), 0);
    fs::remove(written);
}

} // namespace
