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
    // Writes out whatever the stream holds back; raises EStreamError when it cannot.
    virtual void Flush() {}
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

// The output file of a transfer. Small writes are gathered and go to the file together (when
// enough have come, and before anything reads, seeks, truncates or flushes), which spares the
// file system a call and a page-cache step per small block.
class TupFileStream : public TStream {
public:
    // Opens FileName for reading and writing, emptied (Replace) or kept. A hidden or read-only
    // file is opened all the same and keeps its attributes. Raises EFCreateError.
    TupFileStream(const std::string& FileName, bool Replace);
    // Writes out what is held back; a failure here is not reported (see the definition).
    ~TupFileStream() override;
    TupFileStream(const TupFileStream&) = delete;
    TupFileStream& operator=(const TupFileStream&) = delete;

    std::size_t Read(char* Buffer, std::size_t Count) override;
    void Write(const char* Buffer, std::size_t Count) override;
    // On failure, what did not reach the file is dropped and the position is where it ends.
    void Flush() override;
    std::int64_t Seek(std::int64_t Position) override;
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override;
    // Ends the file at the position; raises EStreamError when it cannot.
    void TruncateAtPosition();
    // How far the bytes written have reached the file itself.
    std::int64_t WrittenPosition() const { return fileOffset_; }

private:
    [[noreturn]] void Fail(const std::string& what) const;

    std::unique_ptr<platform::File> file_;
    std::string fileName_;
    std::vector<char> pending_; // written, not yet in the file; it goes at fileOffset_
    std::int64_t fileOffset_ = 0;
    std::int64_t position_ = 0;
};

} // namespace quorvex
