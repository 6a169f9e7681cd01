#include "upgrader/upUpdateInfo.h"

#include <gtest/gtest.h>

using namespace quorvex;

namespace {

struct ValueCase {
    const char* Name;
    std::string Text;
    const char* Key;
    bool Braced;
    std::string Expected;
};

class InfoValueCases : public testing::TestWithParam<ValueCase> {};

TEST_P(InfoValueCases, FindsTheValue) {
    const ValueCase& c = GetParam();
    EXPECT_EQ(InfoValue(c.Text, c.Key, c.Braced), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    InfoValue, InfoValueCases,
    testing::Values(
        ValueCase{"Plain", "#version=1.3.3.10\r\n", "version", false, "1.3.3.10"},
        ValueCase{"MarkerInCapitals", "#Version=1.3.3.10\n", "version", false, "1.3.3.10"},
        ValueCase{"AllCapitals", "#VERSION=1.3.3.10", "version", false, "1.3.3.10"},
        ValueCase{"ValueKeepsItsCase", "#url=HTTP://Host/App.EXE\n", "url", false,
                  "HTTP://Host/App.EXE"},
        ValueCase{"Absent", "#date=12/08/2008\n", "version", false, ""},
        ValueCase{"EmptyText", "", "version", false, ""},
        ValueCase{"EndsAtLineFeed", "#version=1.4\nmore", "version", false, "1.4"},
        ValueCase{"EndsAtTab", "#version=1.4\tcomment", "version", false, "1.4"},
        ValueCase{"EndsAtNul", std::string("#version=1.4\0x", 14), "version", false, "1.4"},
        ValueCase{"RunsToTheEnd", "#version=1.4", "version", false, "1.4"},
        ValueCase{"BlanksAreKept", "#version= 1.3.3.10 \r\n", "version", false, " 1.3.3.10 "},
        ValueCase{"FirstOccurrenceCounts", "#version=1\n#version=2\n", "version", false, "1"},
        ValueCase{"AnywhereInTheText", "comment #version=7 tail", "version", false, "7 tail"},
        ValueCase{"KeyMustBeWhole", "#url1=a\n", "url", false, ""},
        ValueCase{"NeedsTheEqualsSign", "#version 1.4\n", "version", false, ""},
        ValueCase{"EmptyValue", "#url=\n#url0=b\n", "url", false, ""},
        ValueCase{"HighBytesAreNoStop", "#url=http://h/\xB2\xE2.exe\n", "url", false,
                  "http://h/\xB2\xE2.exe"},
        ValueCase{"BracedSpansLines", "#message={New:\r\nfaster}\n", "message", true,
                  "New:\r\nfaster"},
        ValueCase{"BracedWithoutClosingBrace", "#message={one\r\ntwo\n", "message", true,
                  "one\r\ntwo\n"},
        ValueCase{"BracedNeedsTheBrace", "#message=text\n", "message", true, ""},
        ValueCase{"BracedEmpty", "#message={}", "message", true, ""},
        ValueCase{"UnbracedMessageStopsAtLineEnd", "#message={a\nb}", "message", false, "{a"}),
    [](const testing::TestParamInfo<ValueCase>& info) { return info.param.Name; });

struct ListCase {
    const char* Name;
    const char* Text;
    std::vector<std::string> Expected;
};

class FileListCases : public testing::TestWithParam<ListCase> {};

TEST_P(FileListCases, ListsTheFilesInOrder) {
    EXPECT_EQ(InfoFileList(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    FileList, FileListCases,
    testing::Values(ListCase{"NoEntries", "#version=1\n", {}},
                    ListCase{"NumberedOnly", "#url1=a\n#url2=b\n#url3=c\n", {"a", "b", "c"}},
                    ListCase{"PlainThenOne", "#url=a\n#url1=b\n", {"a"}},
                    ListCase{"PlainThenTwo", "#url=a\n#url2=b\n", {"a", "b"}},
                    ListCase{"PlainAndZeroThenThree",
                             "#url=a\n#url0=b\n#url1=x\n#url2=y\n#url3=c\n#url4=d\n",
                             {"a", "b", "c", "d"}},
                    ListCase{"ZeroOnly", "#url0=a\n#url2=b\n", {"a", "b"}},
                    ListCase{"EmptyNumberedEndsTheList", "#url1=a\n#url2=\n#url3=c\n", {"a"}},
                    ListCase{"GapEndsTheList", "#url1=a\n#url3=c\n", {"a"}},
                    ListCase{"EmptyPlainIsSkipped", "#url=\n#url1=a\n", {"a"}},
                    ListCase{"OrderInTheFileDoesNotMatter", "#url2=b\n#url1=a\n", {"a", "b"}},
                    ListCase{"NoLeadingZeros", "#url01=a\n", {}},
                    ListCase{"BeyondNine",
                             "#url1=1\n#url2=2\n#url3=3\n#url4=4\n#url5=5\n#url6=6\n"
                             "#url7=7\n#url8=8\n#url9=9\n#url10=10\n#url11=11\n",
                             {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}},
                    ListCase{"KeysInCapitals", "#URL=a\n#Url2=b\n", {"a", "b"}}),
    [](const testing::TestParamInfo<ListCase>& info) { return info.param.Name; });

TEST(UpgradeMethod, OnlyTheFirstCharacterCounts) {
    const struct {
        const char* Text;
        TupUpgradeMethod Expected;
    } cases[] = {
        {"#method=0\n", TupUpgradeMethod::umSelfUpgrade},
        {"#method=1\n", TupUpgradeMethod::umUseExternalSetup},
        {"#method=2\n", TupUpgradeMethod::umRedirectToURL},
        {"#method=12\n", TupUpgradeMethod::umUseExternalSetup},
        {"#method=21\n", TupUpgradeMethod::umRedirectToURL},
        {"#method=3\n", TupUpgradeMethod::umSelfUpgrade},
        {"#method= 2\n", TupUpgradeMethod::umSelfUpgrade},
        {"#method=\n", TupUpgradeMethod::umSelfUpgrade},
        {"#version=1\n", TupUpgradeMethod::umSelfUpgrade},
        {"#METHOD=2", TupUpgradeMethod::umRedirectToURL},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InfoUpgradeMethod(c.Text), c.Expected) << c.Text;
}

TEST(UpgradeMethod, CodeIsTheOrdinalDigit) {
    EXPECT_EQ(UpgradeMethodCode(TupUpgradeMethod::umSelfUpgrade), 0);
    EXPECT_EQ(UpgradeMethodCode(TupUpgradeMethod::umUseExternalSetup), 1);
    EXPECT_EQ(UpgradeMethodCode(TupUpgradeMethod::umRedirectToURL), 2);
}

TEST(UpdateInfo, StartsEmptyAsASelfUpgrade) {
    const TupUpdateInfo info;
    EXPECT_TRUE(info.Files.empty());
    EXPECT_EQ(info.UpgradeMethod, TupUpgradeMethod::umSelfUpgrade);
    EXPECT_EQ(info.UpgradeMsg, "");
}

TEST(UpdateInfo, AWholeFileWithCommentsBetweenTheEntries) {
    const char* file = "; Quorvex release\r\n"
                       "#version=1.3.3.10\r\n"
                       "\r\n"
                       "#message={Faster lookups.\r\nNew icons.}\r\n"
                       "#method=0\r\n"
                       "#url=http://example.com/Quorvex/quorvex\r\n"
                       "#url2=http://example.com/Quorvex/readme.txt\r\n";
    EXPECT_EQ(InfoValue(file, "version", false), "1.3.3.10");
    EXPECT_EQ(InfoValue(file, "message", true), "Faster lookups.\r\nNew icons.");
    EXPECT_EQ(InfoUpgradeMethod(file), TupUpgradeMethod::umSelfUpgrade);
    EXPECT_EQ(InfoFileList(file),
              (std::vector<std::string>{"http://example.com/Quorvex/quorvex",
                                        "http://example.com/Quorvex/readme.txt"}));
}

} // namespace
