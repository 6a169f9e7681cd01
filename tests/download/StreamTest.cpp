#include "download/upStreams.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

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

TEST(FileStream, GatheredWritesReadBackAndCountAtOnceAndReachTheFileOnFlush) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("quorvex-stream-" + std::to_string(getpid()) + ".bin");
    {
        TupFileStream stream(path.string(), true);
        std::string block(1000, 'a');
        for (int i = 0; i < 5; ++i)
            stream.Write(block.data(), block.size());
        EXPECT_EQ(stream.Position(), 5000);
        EXPECT_EQ(stream.Size(), 5000);
        EXPECT_EQ(std::filesystem::file_size(path), 0u) << "small writes are held back";
        stream.Seek(1000); // reaches the file first, then moves
        EXPECT_EQ(std::filesystem::file_size(path), 5000u);
        char read[4] = {};
        ASSERT_EQ(stream.Read(read, 4), 4u);
        EXPECT_EQ(std::string(read, 4), "aaaa");
        stream.Write("XY", 2); // at 1004, after what was read
        EXPECT_EQ(stream.Size(), 5000);
        stream.Flush();
        EXPECT_EQ(stream.WrittenPosition(), 1006);
        stream.Seek(6000);
        stream.Write("!", 1);
        EXPECT_EQ(stream.Size(), 6001);
        stream.Seek(2);
        stream.TruncateAtPosition();
    } // nothing held back is lost when the stream closes
    EXPECT_EQ(std::filesystem::file_size(path), 2u);
    {
        TupFileStream stream(path.string(), true);
        stream.Write("tail", 4);
    }
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "tail");
    std::filesystem::remove(path);
}
