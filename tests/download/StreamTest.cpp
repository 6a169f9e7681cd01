#include "download/upStreams.h"

#include <gtest/gtest.h>

using namespace quorvex;

TEST(MemoryStream, EmptyStreamReadsNothingAndTakesAnEmptyWrite) {
    TMemoryStream stream; // an empty reply body arrives like this
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, sizeof(buffer)), 0u);
    stream.Write(buffer, 0);
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Seek(5), 5);
    EXPECT_EQ(stream.Read(buffer, sizeof(buffer)), 0u);
}

TEST(MemoryStream, WritesAtThePositionAndReadsBackFromIt) {
    TMemoryStream stream;
    stream.Write("abcdef", 6);
    stream.Seek(2);
    stream.Write("XY", 2);
    EXPECT_EQ(stream.Text(), "abXYef");
    char buffer[8] = {};
    stream.Seek(4);
    ASSERT_EQ(stream.Read(buffer, sizeof(buffer)), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ef");
    stream.Seek(8);
    stream.Write("!", 1); // past the end: the gap is filled with zero bytes
    EXPECT_EQ(stream.Text(), std::string("abXYef\0\0!", 9));
}
