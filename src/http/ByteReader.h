#pragma once

#include "platform/Exception.h"

#include <functional>
#include <optional>
#include <string>

namespace quorvex {

// The longest line (status, header or chunk-size line) a reader accepts.
inline constexpr size_t kMaxLineLength = 65536;
// The most bytes the start line and the header lines of one message may take together.
inline constexpr size_t kMaxHeadLength = size_t{1} << 20;
inline constexpr size_t kReadBufferSize = 32768;
// The most read at once straight into the caller's string during a long run of bytes.
inline constexpr size_t kDirectReadSize = 262144;

// A line longer than kMaxLineLength.
class ELineTooLong : public Exception {
public:
    ELineTooLong()
        : Exception("A line of the HTTP message is longer than " + std::to_string(kMaxLineLength) +
                    " bytes") {}
};

// Buffered reading of lines and byte runs from a stream such as a socket.
class TByteReader {
public:
    // Fills `buffer` with up to `size` bytes, returning 0 at the end of the stream.
    using Source = std::function<size_t(char* buffer, size_t size)>;

    explicit TByteReader(Source source);

    // The next line without its LF (and a CR before it); nothing when the stream ends before
    // a full line, or first byte, arrived.
    std::optional<std::string> ReadLine();
    // The same line with its ending kept, byte for byte.
    std::optional<std::string> ReadLineWithEnding();
    // Appends up to `count` bytes to `out`; fewer only when the stream ends. Returns the count.
    size_t ReadInto(std::string& out, size_t count);
    // Appends everything up to the end of the stream.
    void ReadToEnd(std::string& out);
    // Reserves room for `size` bytes in `out`, advising a large buffer before its pages are
    // touched.
    static void Reserve(std::string& out, size_t size);

private:
    bool Fill();
    static void Grow(std::string& out, size_t size);

    Source source_;
    std::string buffer_;
    size_t position_ = 0;
};

} // namespace quorvex
