#include "platform/TextCodec.h"

#include <gtest/gtest.h>

using quorvex::platform::GbkToUtf8;
using quorvex::platform::Utf8ToGbk;

TEST(TextCodec, ChineseTakesTwoGbkBytesAndRoundTrips) {
    const std::string gbk = Utf8ToGbk("你好 world");
    EXPECT_EQ(gbk, "\xC4\xE3\xBA\xC3 world");
    EXPECT_EQ(GbkToUtf8(gbk), "你好 world");
}

TEST(TextCodec, UnconvertibleAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80z"), "a?z"); // an emoji has no GBK form
    EXPECT_EQ(Utf8ToGbk("a\xFFz"), "a?z");
    EXPECT_EQ(Utf8ToGbk("a\xE4\xBD"), "a?"); // cut off inside a character
    EXPECT_EQ(GbkToUtf8("a\xC4"), "a?");     // lead byte without its trail
}

TEST(TextCodec, LongTextIsConvertedWhole) {
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "中";
    EXPECT_EQ(Utf8ToGbk(text).size(), 10000u);
    EXPECT_EQ(GbkToUtf8(Utf8ToGbk(text)), text);
}
