#include "translate/WebReply.h"

#include "translate/WebClientErrors.h"

#include <gtest/gtest.h>

using namespace quorvex;

namespace {

// A reader over `bytes` that hands them out a few at a time, as a socket may.
TByteReader MemoryReader(const std::string& bytes, size_t piece = 3) {
    return TByteReader([bytes, position = size_t{0}, piece](char* buffer, size_t size) mutable {
        size_t count = std::min({size, piece, bytes.size() - position});
        bytes.copy(buffer, count, position);
        position += count;
        return count;
    });
}

std::string BodyOf(const std::string& reply) {
    TByteReader reader = MemoryReader(reply);
    TWebReply head = ReadReplyHead(reader);
    return ReadReplyBody(reader, head);
}

} // namespace

TEST(StatusCodeOf, ReadsTheSecondFieldOrGivesMinusOne) {
    EXPECT_EQ(StatusCodeOf("HTTP/1.1 200 OK"), 200);
    EXPECT_EQ(StatusCodeOf("HTTP/1.0 404"), 404);
    EXPECT_EQ(StatusCodeOf("HTTP/1.1 2x0 OK"), -1);
    EXPECT_EQ(StatusCodeOf("HTTP/1.1"), -1);
    EXPECT_EQ(StatusCodeOf("HTTP/1.1  200 OK"), -1);
    EXPECT_EQ(StatusCodeOf("HTTP/1.1 99999999999999999999 OK"), -1);
}

TEST(ReadReplyHead, SkipsInterimRepliesAndReadsVersionAndHeaders) {
    TByteReader reader = MemoryReader("HTTP/1.1 100 Continue\r\nX: 1\r\n\r\n"
                                      "HTTP/1.0 200 OK\r\nContent-Length:  5 \r\nA:b\r\n\r\nhello");
    TWebReply reply = ReadReplyHead(reader);
    EXPECT_EQ(reply.StatusLine, "HTTP/1.0 200 OK");
    EXPECT_EQ(reply.Code, 200);
    EXPECT_EQ(reply.Version, "1.0");
    EXPECT_FALSE(reply.Headers.Has("X"));
    EXPECT_EQ(reply.Headers.Value("a"), "b");
    EXPECT_EQ(ReadReplyBody(reader, reply), "hello");
}

TEST(ReadReplyHead, HeadCutOffByTheCloseIsConnectionClosed) {
    for (const char* cut : {"", "HTTP/1.1 200 OK", "HTTP/1.1 200 OK\r\nA: b\r\n"}) {
        TByteReader reader = MemoryReader(cut);
        try {
            ReadReplyHead(reader);
            ADD_FAILURE() << "no failure for \"" << cut << '"';
        } catch (const EConnectionClosed& failure) {
            EXPECT_STREQ(failure.what(), "Connection closed before the reply body");
        }
    }
}

TEST(ReadReplyHead, EndlessHeaderLinesAreAMalformedReply) {
    auto headOf = [](size_t lineCount) {
        std::string head = "HTTP/1.1 200 OK\r\n";
        for (size_t i = 0; i < lineCount; ++i)
            head += "X-Filler-" + std::to_string(i) + ": " + std::string(100, 'f') + "\r\n";
        return head + "\r\n";
    };
    const size_t fillerLength = 120; // roughly, per line
    TByteReader fits = MemoryReader(headOf(kMaxHeadLength / fillerLength / 2), 4096);
    EXPECT_EQ(ReadReplyHead(fits).Code, 200);
    TByteReader endless = MemoryReader(headOf(2 * kMaxHeadLength / fillerLength), 4096);
    EXPECT_THROW(ReadReplyHead(endless), EMalformedReply);
}

TEST(TWebReply, RedirectsAndAcceptedCodes) {
    auto reply = [](int code, bool location) {
        TWebReply r;
        r.Code = code;
        if (location)
            r.Headers.Add("Location", "/x");
        return r;
    };
    EXPECT_TRUE(reply(302, false).IsRedirect());
    EXPECT_FALSE(reply(304, false).IsRedirect());
    EXPECT_TRUE(reply(200, true).IsRedirect());
    EXPECT_FALSE(reply(200, true).IsAccepted());
    EXPECT_TRUE(reply(204, false).IsAccepted());
    EXPECT_FALSE(reply(199, false).IsAccepted());
    EXPECT_FALSE(reply(300, false).IsAccepted());
    EXPECT_FALSE(reply(-1, false).IsAccepted());
}

TEST(TWebReply, KeepAliveFollowsTheRequestVersion) {
    TWebReply plain;
    EXPECT_FALSE(plain.AllowsKeepAlive("1.0"));
    EXPECT_TRUE(plain.AllowsKeepAlive("1.1"));
    TWebReply keep;
    keep.Headers.Add("Proxy-Connection", "Keep-Alive");
    EXPECT_TRUE(keep.AllowsKeepAlive("1.0"));
    TWebReply close;
    close.Headers.Add("Connection", "Close");
    EXPECT_FALSE(close.AllowsKeepAlive("1.1"));
}

TEST(ReadReplyBody, FramesByLengthChunksOrClose) {
    EXPECT_EQ(BodyOf("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabcdef"), "abc");
    EXPECT_EQ(BodyOf("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\nabc"), "");
    EXPECT_EQ(BodyOf("HTTP/1.1 204 No Content\r\n\r\nabc"), "");
    EXPECT_EQ(BodyOf("HTTP/1.1 200 OK\r\n\r\nup to the close"), "up to the close");
    EXPECT_EQ(BodyOf("HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n"
                     "5 ext\r\nhello\r\n1;x=y\r\n!\r\n0\r\nTrailer: t\r\n\r\nafter"),
              "hello!");
    // Without its closing line the last chunk still ends the body.
    EXPECT_EQ(BodyOf("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\r\n0\r\n"),
              "ab");
    // A length that is no number leaves an empty body, as there is a length header at all.
    EXPECT_EQ(BodyOf("HTTP/1.1 200 OK\r\nContent-Length: x\r\n\r\nabc"), "");
    // A length of 1 or more wins over chunked framing.
    EXPECT_EQ(BodyOf("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nTransfer-Encoding: chunked\r\n\r\n"
                     "2\r\nab"),
              "2\r");
}

TEST(ReadReplyBody, BodyCutBeforeItsEndIsConnectionLost) {
    EXPECT_THROW(BodyOf("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"), EConnectionLost);
    const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    EXPECT_THROW(BodyOf(chunked + "5\r\nhel"), EConnectionLost);
    EXPECT_THROW(BodyOf(chunked + "5\r\nhello"), EConnectionLost);
    EXPECT_THROW(BodyOf(chunked + "5\r\nhello\r\n"), EConnectionLost);
    EXPECT_THROW(BodyOf(chunked + "zz\r\nhello\r\n"), EMalformedReply);
    try {
        BodyOf("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc");
    } catch (const EConnectionLost& failure) {
        EXPECT_STREQ(failure.what(), "Connection lost: the body ended after 3 of 10 bytes");
    }
}

TEST(TByteReader, LongRunsArriveWholeAfterLinesWhateverThePieces) {
    std::string run;
    for (size_t i = 0; run.size() < 3 * kDirectReadSize; ++i)
        run += std::to_string(i) + ",";
    for (size_t piece : {size_t{1000}, kReadBufferSize + 7, kDirectReadSize * 2}) {
        TByteReader reader = MemoryReader("head\r\n" + run + "tail", piece);
        EXPECT_EQ(reader.ReadLine(), "head");
        std::string out = "kept:";
        EXPECT_EQ(reader.ReadInto(out, run.size()), run.size());
        EXPECT_EQ(out, "kept:" + run);
        std::string rest;
        reader.ReadToEnd(rest);
        EXPECT_EQ(rest, "tail");
    }
    TByteReader whole = MemoryReader(run, 4096);
    std::string all;
    whole.ReadToEnd(all);
    EXPECT_EQ(all, run);
    EXPECT_EQ(whole.ReadInto(all, 10), 0u);
}

TEST(TByteReader, RejectsOverlongLinesAndKeepsLineEndings) {
    TByteReader reader = MemoryReader("a\r\nb\nc", 1000);
    EXPECT_EQ(reader.ReadLineWithEnding(), "a\r\n");
    EXPECT_EQ(reader.ReadLine(), "b");
    EXPECT_EQ(reader.ReadLine(), std::nullopt);

    TByteReader endless = MemoryReader(std::string(kMaxLineLength + kReadBufferSize, 'x'), 4096);
    EXPECT_THROW(endless.ReadLine(), ELineTooLong);
}
