#include "platform/Exception.h"
#include "upgrader/upFormat.h"
#include "upgrader/upLanguages.h"
#include "upgrader/upMessages.h"

#include <climits>
#include <gtest/gtest.h>

using namespace quorvex;

TEST(FormatMessageText, FillsEachKindOfPlaceholder) {
    const struct {
        const char* Format;
        std::string Expected;
        std::initializer_list<TFormatArgument> Args;
    } cases[] = {
        {"Estimated time left: %d:%.2d:%.2d", "Estimated time left: 25:01:01", {25, 1, 1}},
        {"Estimated time left: %d:%.2d:%.2d", "Estimated time left: 0:00:59", {0, 0, 59}},
        {"%.2d|%.2d|%.2d", "123|-05|00", {123, -5, 0}},
        {"File size: %.1f Kb", "File size: 1.5 Kb", {1536 / 1024.0}},
        {"%.1f %.1f %.1f", "0.0 2.0 1234567.9", {0.04, 2, 1234567.89}},
        {"Downloading %d of %d", "Downloading 1 of 3", {1, std::size_t{3}}},
        {"Host %s unreachable.", "Host 'http://h' unreachable.", {"'http://h'"}},
        {"100%% %s", "100% %d", {"%d"}},
        {"no placeholder", "no placeholder", {1, "left over"}},
        {"", "", {}},
        {"%d", std::to_string(LLONG_MIN), {LLONG_MIN}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMessageText(c.Format, c.Args), c.Expected) << c.Format;
}

TEST(FormatMessageText, AFormatInTheTextNeverReachesPrintf) {
    EXPECT_EQ(FormatMessageText("%s", {"%n%n%s%x"}), "%n%n%s%x");
    for (const char* format : {"%n", "%x", "%5d", "%", "abc %", "%.3f", "%ls"})
        EXPECT_THROW(FormatMessageText(format, {1, 2.0, "s"}), Exception) << format;
}

TEST(FormatMessageText, MissingOrWrongArgumentsRaise) {
    EXPECT_THROW(FormatMessageText("%d of %d", {1}), Exception);
    EXPECT_THROW(FormatMessageText("%s", {}), Exception);
    EXPECT_THROW(FormatMessageText("%d", {"1"}), Exception);
    EXPECT_THROW(FormatMessageText("%d", {1.5}), Exception);
    EXPECT_THROW(FormatMessageText("%s", {1}), Exception);
    EXPECT_THROW(FormatMessageText("%.1f", {"1.5"}), Exception);
}

TEST(UpgraderFormat, FillsAnEntryOfTheChosenTable) {
    SetUpgraderLanguage(TupLanguage::wlEnglish);
    EXPECT_EQ(UpgraderFormat(upmsg::kTimeLeft, {90061 / 3600, (90061 / 60) % 60, 90061 % 60}),
              "Estimated time left: 25:01:01");
    EXPECT_EQ(UpgraderFormat(upmsg::kFileSize, {1536 / 1024.0}), "File size: 1.5 Kb");
    EXPECT_EQ(UpgraderFormat(upmsg::kNewerVersion, {"Virovedezori", ""}),
              "A newer version of Virovedezori was released.\n\nDo you want to update your "
              "version with the latest one?");
    SetUpgraderLanguage(TupLanguage::wlChineseSimplified);
    EXPECT_EQ(UpgraderFormat(upmsg::kDownloadingOf, {2, 5}), "当前正在下载:2 of 5");
    SetUpgraderLanguage(TupLanguage::wlAuto);
}
