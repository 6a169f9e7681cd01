#include "cli/FetchOptions.h"

#include "cli/ProgressBar.h"

#include <gtest/gtest.h>

using namespace quorvex::cli;

TEST(FetchOptions, ReadsEveryOption) {
    const auto options = ParseFetchOptions(
        {"http://h/f", "-o", "out", "--range", "10-20", "--resume", "--proxy", "p.example:3128",
         "--proxy-user", "pu:pp", "--user", "u:p:q", "--buffer", "65536", "--quiet"});
    EXPECT_EQ(options.url, "http://h/f");
    EXPECT_EQ(options.output, "out");
    EXPECT_EQ(options.rangeStart, 10u);
    EXPECT_EQ(options.rangeEnd, 20u);
    EXPECT_TRUE(options.resume);
    EXPECT_EQ(options.proxyHost, "p.example");
    EXPECT_EQ(options.proxyPort, 3128);
    EXPECT_EQ(options.proxyUser, "pu");
    EXPECT_EQ(options.proxyPassword, "pp");
    EXPECT_EQ(options.user, "u");
    EXPECT_EQ(options.password, "p:q"); // only the first colon separates
    EXPECT_EQ(options.buffer, 65536u);
    EXPECT_TRUE(options.quiet);
}

TEST(FetchOptions, DefaultsAndOpenEndedRange) {
    const auto options = ParseFetchOptions({"--range", "500-", "x.org/a"});
    EXPECT_EQ(options.rangeStart, 500u);
    EXPECT_EQ(options.rangeEnd, 0u);
    EXPECT_FALSE(options.user.has_value());
    EXPECT_FALSE(options.buffer.has_value());
    EXPECT_EQ(options.output, "");
}

TEST(FetchOptions, RefusesWhatItCannotRead) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"-o", "file"},
        {"a", "b"},
        {"a", "--bogus"},
        {"a", "-o"},
        {"a", "--range", "10"},
        {"a", "--range", "x-5"},
        {"a", "--buffer", "99999999999"},
        {"a", "--proxy", "hostonly"},
        {"a", "--proxy", "host:65536"},
        {"a", "--proxy", "host:4294967295"},
        {"a", "--user", "nocolon"},
        {"a", "--resume"},
    };
    for (const auto& arguments : bad)
        EXPECT_THROW(ParseFetchOptions(arguments), EUsageError)
            << testing::PrintToString(arguments);
}

TEST(ProgressBar, ShowsBarPercentRateAndTimeLeft) {
    EXPECT_EQ(ProgressLine({1000, 500, 75, 50, 12.5f}),
              "[###############...............]  50%       12.5 KB/s  0:01:15 left");
    EXPECT_EQ(ProgressLine({1000, 1000, 0, 100, 1.0f}),
              "[##############################] 100%        1.0 KB/s  0:00:00 left");
}

TEST(ProgressBar, UnknownSizeShowsBytesAndNeverANegativeRate) {
    EXPECT_EQ(ProgressLine({0, 4096, -3, 0, -1.0f}), "      4096 bytes        0.0 KB/s");
}
