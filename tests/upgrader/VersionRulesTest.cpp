#include "upgrader/upVersionDate.h"
#include "upgrader/upVersionRules.h"

#include <gtest/gtest.h>

using namespace quorvex;

namespace {

TDateTime Date(int year, int month, int day) {
    TDateTime value = 0;
    EXPECT_TRUE(TryEncodeDateTime(year, month, day, 0, 0, 0, value));
    return value;
}

// Today's date, read around the call so that a change of day in between cannot fail a test.
void ExpectToday(const std::string& text) {
    const TDateTime before = VersionToday();
    const TDateTime parsed = ParseVersionDate(text);
    const TDateTime after = VersionToday();
    EXPECT_TRUE(parsed == before || parsed == after) << '"' << text << '"';
}

TupProgramVersion ByNumber(const char* number) {
    TupProgramVersion version;
    version.VersionControl = TupVersionControl::byNumber;
    version.VersionNumber = number;
    return version;
}

TupProgramVersion ByDate(const std::string& date) {
    TupProgramVersion version;
    version.VersionControl = TupVersionControl::byDate;
    version.VersionDate = date;
    return version;
}

} // namespace

TEST(ParseVersionDate, ReadsMonthDayYear) {
    EXPECT_EQ(ParseVersionDate("12/08/2008"), Date(2008, 12, 8));
    EXPECT_EQ(ParseVersionDate("1/2/2010"), Date(2010, 1, 2));
    EXPECT_EQ(ParseVersionDate("02/29/2008"), Date(2008, 2, 29));
    EXPECT_EQ(ParseVersionDate("12/31/9999"), Date(9999, 12, 31));
}

TEST(ParseVersionDate, AnythingElseIsToday) {
    for (const char* text :
         {"", "2008-12-08", "13/08/2008", "00/08/2008", "02/29/2009", "12/32/2008", "12/08",
          "12/08/", "/08/2008", "12//2008", "12/08/2008/1", "12/08/2008 ", " 12/08/2008",
          "1x/08/2008", "12/08/10000", "12/08/0", "12/08/99999999999999999999"})
        ExpectToday(text);
}

TEST(FormatVersionDate, WritesTwoDigitMonthAndDayAndFourDigitYear) {
    EXPECT_EQ(FormatVersionDate(Date(2008, 12, 8)), "12/08/2008");
    EXPECT_EQ(FormatVersionDate(Date(2010, 1, 2)), "01/02/2010");
    EXPECT_EQ(FormatVersionDate(Date(1899, 12, 30)), "12/30/1899");
    EXPECT_EQ(FormatVersionDate(Date(2000, 2, 29) + 0.75), "02/29/2000");
}

TEST(FormatVersionDate, RoundTripsEveryDayOfFourYears) {
    for (TDateTime day = Date(2007, 1, 1); day < Date(2011, 1, 1); day += 1)
        ASSERT_EQ(ParseVersionDate(FormatVersionDate(day)), day) << FormatVersionDate(day);
}

TEST(ProgramVersion, StartsWithTodayAndAutoSet) {
    const TDateTime before = VersionToday();
    const TupProgramVersion version;
    const TDateTime after = VersionToday();
    EXPECT_TRUE(version.VersionDate == FormatVersionDate(before) ||
                version.VersionDate == FormatVersionDate(after));
    EXPECT_TRUE(version.VersionDateAutoSet());
    EXPECT_EQ(version.VersionControl, TupVersionControl::byDate);
    EXPECT_EQ(version.VersionNumber, "");
}

TEST(ProgramVersion, SettingAutoSetKeepsTheLoadedDate) {
    TupProgramVersion version = ByDate("12/08/2008");
    version.SetVersionDateAutoSet(false);
    EXPECT_FALSE(version.VersionDateAutoSet());
    version.SetVersionDateAutoSet(true);
    EXPECT_TRUE(version.VersionDateAutoSet());
    EXPECT_EQ(version.VersionDate, "12/08/2008");
}

TEST(IsNewer, ByNumberComparesTheVersionKey) {
    const struct {
        const char* File;
        bool Expected;
    } cases[] = {
        {"#version=1.3.3.10\n", true},
        {"#Version=1.3.3.10\n", true},
        {"#version=1.4\n", true},
        {"#version=1.3.3.9\n", false},
        {"#version=1.3.3.9.1\n", false},
        {"#version=1.3.3.8\n", false},
        {"#version=1.3.3.9b\n", true},     // byte-wise: "b" after the end
        {"#version=1.3.3.10 \r\n", false}, // byte-wise: "1" before "9"
        {"#date=12/09/2008\n", false},     // no version key: empty is lower
        {"", false},
    };
    const TupProgramVersion version = ByNumber("1.3.3.9");
    for (const auto& c : cases)
        EXPECT_EQ(version.IsNewer(c.File), c.Expected) << c.File;
}

TEST(IsNewer, ByDateNeedsAStrictlyLaterDate) {
    const TupProgramVersion version = ByDate("12/08/2008");
    EXPECT_FALSE(version.IsNewer("#date=12/08/2008\n"));
    EXPECT_TRUE(version.IsNewer("#date=12/09/2008\n"));
    EXPECT_FALSE(version.IsNewer("#date=12/07/2008\n"));
    EXPECT_TRUE(version.IsNewer("#date=01/01/2009\n"));
    EXPECT_FALSE(version.IsNewer("#version=9.9.9.9\n#date=11/30/2008\n"));
}

TEST(IsNewer, ByDateReadsAMissingOrBadDateAsToday) {
    const TupProgramVersion old = ByDate("12/08/2008");
    EXPECT_TRUE(old.IsNewer("#version=1.3.3.10\n"));
    EXPECT_TRUE(old.IsNewer("#date=2008-12-09\n"));
    const TupProgramVersion future = ByDate(FormatVersionDate(VersionToday() + 2));
    EXPECT_FALSE(future.IsNewer("#date=garbage\n"));
}
