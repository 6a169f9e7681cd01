#include "http/ByteReader.h"

#include "platform/MemoryAdvice.h"

#include <algorithm>

namespace quorvex {

TByteReader::TByteReader(Source source)
    : source_(std::move(source)) {
    buffer_.reserve(kReadBufferSize);
}

bool TByteReader::Fill() {
    buffer_.erase(0, position_);
    position_ = 0;
    size_t held = buffer_.size();
    buffer_.resize(held + kReadBufferSize);
    size_t count = source_(buffer_.data() + held, kReadBufferSize);
    buffer_.resize(held + count);
    return count > 0;
}

std::optional<std::string> TByteReader::ReadLine() {
    std::optional<std::string> line = ReadLineWithEnding();
    if (line) {
        line->pop_back();
        if (!line->empty() && line->back() == '\r')
            line->pop_back();
    }
    return line;
}

std::optional<std::string> TByteReader::ReadLineWithEnding() {
    size_t searchFrom = position_;
    for (;;) {
        size_t end = buffer_.find('\n', searchFrom);
        if (end != std::string::npos) {
            std::string line = buffer_.substr(position_, end + 1 - position_);
            position_ = end + 1;
            return line;
        }
        if (buffer_.size() - position_ > kMaxLineLength)
            throw ELineTooLong();
        searchFrom = buffer_.size() - position_; // offsets move to 0 when Fill compacts
        if (!Fill())
            return std::nullopt;
        searchFrom = std::min(searchFrom, buffer_.size());
    }
}

void TByteReader::Reserve(std::string& out, size_t size) {
    if (size > out.capacity()) {
        out.reserve(size);
        platform::AdviseLargeBuffer(out.data(), out.capacity());
    }
}

void TByteReader::Grow(std::string& out, size_t size) {
    Reserve(out, size);
    out.resize(size);
}

size_t TByteReader::ReadInto(std::string& out, size_t count) {
    size_t taken = 0;
    size_t filled = out.size(); // `out` may hold room beyond this while reading straight into it
    while (taken < count) {
        if (position_ < buffer_.size()) {
            size_t piece = std::min(count - taken, buffer_.size() - position_);
            out.replace(filled, out.size() - filled, buffer_, position_, piece);
            filled += piece;
            position_ += piece;
            taken += piece;
        } else if (count - taken >= kReadBufferSize) {
            // A long run goes straight from the source into `out`, which grows geometrically
            // so that each byte is cleared once.
            if (out.size() == filled)
                Grow(out, filled + std::min(count - taken, std::max(kDirectReadSize, filled)));
            size_t received =
                source_(out.data() + filled, std::min(count - taken, out.size() - filled));
            if (received == 0)
                break;
            filled += received;
            taken += received;
        } else if (!Fill()) {
            break;
        }
    }
    out.resize(filled);
    return taken;
}

void TByteReader::ReadToEnd(std::string& out) {
    ReadInto(out, std::string::npos);
}

} // namespace quorvex
