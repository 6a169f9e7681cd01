#include "download/upUtils.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

using namespace quorvex;

namespace {

inline constexpr double kOneSecond = 1.0 / 86400;

TDateTime Utc(int y, int mo, int d, int h, int mi, int s) {
    TDateTime value = 0;
    EXPECT_TRUE(TryEncodeDateTime(y, mo, d, h, mi, s, value));
    return value;
}

// ParseHTTPDate gives local time; adding the bias back gives universal time.
TDateTime ParsedAsUtc(const char* text) {
    const TDateTime local = ParseHTTPDate(text);
    return local == 0 ? 0 : local + TimeZoneBias();
}

class TimeZoneScope {
public:
    explicit TimeZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ"))
            old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZoneScope() {
        if (old_.empty())
            unsetenv("TZ");
        else
            setenv("TZ", old_.c_str(), 1);
        tzset();
    }

private:
    std::string old_;
};

} // namespace

TEST(DateTime, EncodesKnownDaysAndRejectsImpossibleOnes) {
    EXPECT_DOUBLE_EQ(Utc(1899, 12, 30, 0, 0, 0), 0);
    EXPECT_DOUBLE_EQ(Utc(1970, 1, 1, 0, 0, 0), 25569);
    EXPECT_DOUBLE_EQ(Utc(2000, 2, 29, 12, 0, 0), 36585.5);
    TDateTime value = 0;
    EXPECT_FALSE(TryEncodeDateTime(1900, 2, 29, 0, 0, 0, value)); // not a leap year
    EXPECT_FALSE(TryEncodeDateTime(2024, 0, 1, 0, 0, 0, value));
    EXPECT_FALSE(TryEncodeDateTime(2024, 1, 1, 24, 0, 0, value));
}

TEST(ParseHTTPDate, TheThreeFormsGiveTheSameInstant) {
    const TDateTime expected = Utc(1994, 11, 6, 8, 49, 37);
    EXPECT_NEAR(ParsedAsUtc("Sun, 06 Nov 1994 08:49:37 GMT"), expected, kOneSecond / 10);
    EXPECT_NEAR(ParsedAsUtc("Sunday, 06-Nov-94 08:49:37 GMT"), expected, kOneSecond / 10);
    EXPECT_NEAR(ParsedAsUtc("Sun Nov  6 08:49:37 1994"), expected, kOneSecond / 10);
    EXPECT_NEAR(ParsedAsUtc("  sun, 06 nov 1994 08:49:37 gmt  "), expected, kOneSecond / 10);
}

TEST(ParseHTTPDate, NumericZonesShiftToUniversalTime) {
    const TDateTime gmt = ParsedAsUtc("Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_NEAR(ParsedAsUtc("Sun, 06 Nov 1994 08:49:37 +0800"), gmt - 8.0 / 24, kOneSecond / 10);
    EXPECT_NEAR(ParsedAsUtc("Sun, 06 Nov 1994 08:49:37 -0130"), gmt + 1.5 / 24, kOneSecond / 10);
    EXPECT_NEAR(ParsedAsUtc("Sun, 06 Nov 1994 08:49:37 +08xx"), gmt, kOneSecond / 10);
}

TEST(ParseHTTPDate, TwoDigitYearsPivotAtEighty) {
    EXPECT_NEAR(ParsedAsUtc("Sunday, 06-Nov-79 00:00:00 GMT"), Utc(2079, 11, 6, 0, 0, 0),
                kOneSecond / 10);
    EXPECT_NEAR(ParsedAsUtc("Sunday, 06-Nov-80 00:00:00 GMT"), Utc(1980, 11, 6, 0, 0, 0),
                kOneSecond / 10);
}

TEST(ParseHTTPDate, ImpossibleOrEmptyGivesZero) {
    EXPECT_EQ(ParseHTTPDate("Sun, 32 Nov 1994 08:49:37 GMT"), 0);
    EXPECT_EQ(ParseHTTPDate("Sun, 06 Foo 1994 08:49:37 GMT"), 0);
    EXPECT_EQ(ParseHTTPDate("Sun, 06 Nov 1994 25:00:00 GMT"), 0);
    EXPECT_EQ(ParseHTTPDate("   "), 0);
    EXPECT_EQ(ParseHTTPDate(""), 0);
}

TEST(ParseHTTPDate, NumbersBeyond32BitsAreNotNumbersRatherThanWrappedIntoRange) {
    // 4294967302 is 2^32 + 6: cut to 32 bits it would read as day 6 and hour 8.
    EXPECT_NEAR(ParsedAsUtc("Sun, 4294967302 Nov 1994 08:49:37 GMT"), Utc(1994, 11, 1, 8, 49, 37),
                kOneSecond / 10);
    EXPECT_NEAR(ParsedAsUtc("Sun, 06 Nov 1994 4294967304:49:37 GMT"), Utc(1994, 11, 6, 0, 49, 37),
                kOneSecond / 10);
}

TEST(ParseHTTPDate, UsesTheLocalBiasInEffectNow) {
    TimeZoneScope zone("CST-8"); // eight hours east of Greenwich, no daylight time
    EXPECT_NEAR(TimeZoneBias(), -8.0 / 24, kOneSecond / 10);
    EXPECT_NEAR(ParseHTTPDate("Sun, 06 Nov 1994 08:49:37 GMT"), Utc(1994, 11, 6, 16, 49, 37),
                kOneSecond / 10);
}

TEST(VersionCompare, ComparesFourNumericParts) {
    EXPECT_GT(VersionCompare("1.3.3.10", "1.3.3.9"), 0);
    EXPECT_GT(VersionCompare("1.4", "1.3.3.9"), 0);
    EXPECT_LT(VersionCompare("1.3.3.9", "1.4"), 0);
    EXPECT_EQ(VersionCompare("1.3.3.9", "1.3.3.9.1"), 0);
    EXPECT_EQ(VersionCompare("1.3", "1.3.0.0"), 0);
    EXPECT_EQ(VersionCompare("2", "2.0"), 0);
}

TEST(VersionCompare, NonNumericPartFallsBackToSignedByteDifference) {
    EXPECT_GT(VersionCompare("1.3.3.9b", "1.3.3.9"), 0);
    EXPECT_EQ(VersionCompare("1.3.3.9b", "1.3.3.9"), 'b');
    EXPECT_LT(VersionCompare("1..3", "1.2.3"), 0); // an empty part is not a number
    // 0xC8 - 0x31 = 151, whose low eight bits read as signed are negative
    EXPECT_LT(VersionCompare("1.\xC8", "1.1"), 0);
    EXPECT_EQ(VersionCompare("x", "x"), 0);
}

TEST(Percent, RoundsHalvesToEvenAndNeverFails) {
    EXPECT_EQ(Percent(0, 10), 0);
    EXPECT_EQ(Percent(1000, 500), 50);
    EXPECT_EQ(Percent(3, 1), 33);
    EXPECT_EQ(Percent(200, 1), 0);   // 0.5 rounds to 0
    EXPECT_EQ(Percent(200, 3), 2);   // 1.5 rounds to 2
    EXPECT_EQ(Percent(1000, 5), 0);  // 0.5
    EXPECT_EQ(Percent(1000, 25), 2); // 2.5 rounds to 2
    EXPECT_EQ(Percent(1, 100), 0);   // does not fit a byte
    EXPECT_EQ(Percent(4294967295.0L, 4294967295.0L), 100);
}
