#include "download/upHTTP.h"
#include "download/upUtils.h"

#include <gtest/gtest.h>

using namespace quorvex;

TEST(URLNames, HostAndFileNameComeFromTheSplitURL) {
    EXPECT_EQ(HostFromURL("http://dl.example.org:81/a/b"), "dl.example.org");
    EXPECT_EQ(FileNameFromURL("http://x.org/dir/sub/setup.exe"), "setup.exe");
    EXPECT_EQ(FileNameFromURL("http://x.org"), "");
    EXPECT_EQ(FileNameFromURL("http://x.org/dir/"), "");
    EXPECT_EQ(HostFromURL("http://"), "");
    EXPECT_EQ(HostFromURL("https://[2001:db8::7]/"), "2001:db8::7");
}

TEST(ExtractURLFileName, TakesTheTextAfterTheLastSlashBackslashOrColon) {
    EXPECT_EQ(ExtractURLFileName("/a/b/c.txt"), "c.txt");
    EXPECT_EQ(ExtractURLFileName("a\\b/c"), "c");
    EXPECT_EQ(ExtractURLFileName("c:name"), "name");
    EXPECT_EQ(ExtractURLFileName("plain"), "plain");
    EXPECT_EQ(ExtractURLFileName("dir/"), "");
}
