#include "http/FormEncoding.h"

#include "http/FormDecoding.h"
#include "http/HttpRequest.h"
#include "http/WebUrl.h"

#include <gtest/gtest.h>

using namespace quorvex;

TEST(EncodeFormValue, KeepsOnlyLettersAndDigitsAndTurnsSpacesIntoPlus) {
    EXPECT_EQ(EncodeFormValue("Hello world 09"), "Hello+world+09");
    EXPECT_EQ(EncodeFormValue("-._*|=&+"), "%2D%2E%5F%2A%7C%3D%26%2B");
    EXPECT_EQ(EncodeFormValue("a\r\nb"), "a%0D%0Ab");
    EXPECT_EQ(EncodeFormValue("你"), "%E4%BD%A0");
    EXPECT_EQ(EncodeFormValue(std::string("\0\xFF", 2)), "%00%FF");
}

TEST(EncodeFormLines, EncodesValuesAfterTheFirstEqualsSignOnly) {
    std::vector<std::string> lines{"a b=c d=e", "empty=", "noequals x", "k=&"};
    EncodeFormLines(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"a b=c+d%3De", "empty=", "noequals x", "k=%26"}));
}

TEST(JoinFormLines, SeveralLinesEndWithAmpersandOneLineHasNone) {
    EXPECT_EQ(JoinFormLines({"langpair=", "text=x"}), "langpair=&text=x&");
    EXPECT_EQ(JoinFormLines({" only=1 \t"}), "only=1");
    EXPECT_EQ(JoinFormLines({}), "");
    // An unencoded line break inside a value splits it like a line of its own.
    EXPECT_EQ(JoinFormLines({"a=1\r\n2", "b=3"}), "a=1&2&b=3&");
    EXPECT_EQ(JoinFormLines({"  a=1", "b=2  "}), "a=1&b=2  &");
}

TEST(SplitUrl, SplitsHostPortAndKeepsTheTargetAsWritten) {
    TUrl url = SplitUrl("http://example.org:8080/s?ie=gb2312&wd=%C4%E3", 80);
    EXPECT_EQ(url.Host, "example.org");
    EXPECT_EQ(url.Port, 8080);
    EXPECT_EQ(url.Target, "/s?ie=gb2312&wd=%C4%E3");
    EXPECT_EQ(url.HostHeader(), "example.org:8080");

    TUrl plain = SplitUrl("example.org", 80);
    EXPECT_EQ(plain.Protocol, "http");
    EXPECT_EQ(plain.Target, "/");
    EXPECT_EQ(plain.HostHeader(), "example.org");

    EXPECT_EQ(SplitUrl("http:\\\\h\\a\\b c", 80).Target, "/a/b c");
    EXPECT_EQ(SplitUrl("http://h?q=1", 80).Target, "/?q=1");
    EXPECT_EQ(SplitUrl("http://h/x", 81).Port, 81);
}

TEST(SplitUrl, RejectsBadPortsAndOtherProtocols) {
    EXPECT_THROW(SplitUrl("http://h:99999/", 80), EInvalidUrl);
    EXPECT_THROW(SplitUrl("http://h:x/", 80), EInvalidUrl);
    EXPECT_THROW(SplitUrl("https://h/", 80), EInvalidUrl);
    EXPECT_THROW(SplitUrl("ftp://h/", 80), EInvalidUrl);
}

TEST(DecodeForm, DecodesPlusAndPercentAndRejectsBrokenSequences) {
    auto fields = DecodeForm("langpair=en%7Czh%2DCN&text=Hello+world%0D%0A&&flag&text2=%E4%BD%A0");
    EXPECT_EQ(fields["langpair"], "en|zh-CN");
    EXPECT_EQ(fields["text"], "Hello world\r\n");
    EXPECT_EQ(fields["flag"], "");
    EXPECT_EQ(fields["text2"], "你");
    EXPECT_THROW(DecodeForm("text=%4"), EBadRequest);
    EXPECT_THROW(DecodeForm("text=%G0"), EBadRequest);
}
