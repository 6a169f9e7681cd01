#pragma once

#include "platform/Exception.h"
#include "platform/File.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorvex {

// A stream could not be written or read as asked.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};

// The output file could not be opened.
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// A sequence of bytes with a position, in memory or in a file.
class TStream {
public:
    virtual ~TStream() = default;
    // Bytes read (0 at the end).
    virtual std::size_t Read(char* Buffer, std::size_t Count) = 0;
    // Writes all bytes at the position; raises EStreamError when it cannot.
    virtual void Write(const char* Buffer, std::size_t Count) = 0;
    // The position reached.
    virtual std::int64_t Seek(std::int64_t Position) = 0;
    virtual std::int64_t Position() const = 0;
    virtual std::int64_t Size() const = 0;
};

class TMemoryStream : public TStream {
public:
    std::size_t Read(char* Buffer, std::size_t Count) override;
    void Write(const char* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Position) override;
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override { return static_cast<std::int64_t>(data_.size()); }

    // Room for this many bytes, so writing them does not move the data again.
    void Reserve(std::size_t Bytes) { data_.reserve(Bytes); }
    std::size_t Capacity() const { return data_.capacity(); }
    const char* Memory() const { return data_.data(); }
    std::string Text() const { return std::string(data_.begin(), data_.end()); }

private:
    std::vector<char> data_;
    std::size_t position_ = 0;
};

// The output file of a transfer.
class TupFileStream : public TStream {
public:
    // Opens FileName for reading and writing, emptied (Replace) or kept. A hidden or read-only
    // file is opened all the same and keeps its attributes. Raises EFCreateError.
    TupFileStream(const std::string& FileName, bool Replace);

    std::size_t Read(char* Buffer, std::size_t Count) override;
    void Write(const char* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Position) override;
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override { return file_->Size(); }
    // Ends the file at the position; raises EStreamError when it cannot.
    void TruncateAtPosition();

private:
    std::unique_ptr<platform::File> file_;
    std::string fileName_;
    std::int64_t position_ = 0;
};

} // namespace quorvex
