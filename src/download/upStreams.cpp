#include "download/upStreams.h"

#include "platform/FileAttributes.h"
#include "platform/FileReplace.h"

#include <algorithm>
#include <cstring>

namespace quorvex {
namespace {

// Bytes of small writes gathered before they go to the file together.
inline constexpr std::size_t kWriteGathering = 64 << 10;

} // namespace

std::size_t TMemoryStream::Read(char* Buffer, std::size_t Count) {
    const std::size_t available = position_ < data_.size() ? data_.size() - position_ : 0;
    const std::size_t n = std::min(Count, available);
    if (n == 0)
        return 0; // an empty stream has no memory to copy from, not even zero bytes
    std::memcpy(Buffer, data_.data() + position_, n);
    position_ += n;
    return n;
}

void TMemoryStream::Write(const char* Buffer, std::size_t Count) {
    if (Count == 0)
        return;
    if (position_ + Count > data_.size())
        data_.resize(position_ + Count);
    std::memcpy(data_.data() + position_, Buffer, Count);
    position_ += Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Position) {
    position_ = static_cast<std::size_t>(std::max<std::int64_t>(Position, 0));
    return static_cast<std::int64_t>(position_);
}

TupFileStream::TupFileStream(const std::string& FileName, bool Replace)
    : fileName_(FileName) {
    // Attributes are never read or set through a link: the link is replaced, not followed.
    const std::optional<std::uint32_t> before =
        platform::IsLink(FileName) ? std::nullopt : platform::GetFileAttributes(FileName);
    const std::uint32_t guarded = platform::kAttributeHidden | platform::kAttributeReadOnly;
    const bool unguard = before && (*before & guarded) != 0;
    if (unguard)
        platform::SetFileAttributes(FileName, platform::kAttributeArchive);
    const auto mode =
        Replace ? platform::File::Mode::CreateFresh : platform::File::Mode::OpenAlways;
    auto file = platform::File::Open(FileName, mode);
    if (!file) {
        const std::string reason = platform::SystemErrorText();
        throw EFCreateError("Cannot create file \"" + platform::AbsolutePath(FileName) + "\". " +
                            reason);
    }
    file_ = std::make_unique<platform::File>(std::move(*file));
    if (unguard)
        platform::SetFileAttributes(FileName, *before);
}

TupFileStream::~TupFileStream() {
    try {
        Flush();
    } catch (const EStreamError&) {
        // Only reached with bytes still held back when the transfer was abandoned or failed:
        // a transfer that completes flushes first and is reported by that flush, so a file
        // that ends short here is one already left with its incomplete attributes.
    }
}

void TupFileStream::Fail(const std::string& what) const {
    throw EStreamError("Cannot " + what + " \"" + fileName_ + "\": " + platform::SystemErrorText());
}

std::size_t TupFileStream::Read(char* Buffer, std::size_t Count) {
    Flush();
    const auto n = file_->Read(Buffer, Count);
    if (!n)
        Fail("read");
    fileOffset_ += static_cast<std::int64_t>(*n);
    position_ = fileOffset_;
    return *n;
}

void TupFileStream::Write(const char* Buffer, std::size_t Count) {
    if (pending_.size() + Count > kWriteGathering)
        Flush();
    if (Count >= kWriteGathering) {
        const std::size_t written = file_->Write(Buffer, Count);
        fileOffset_ += static_cast<std::int64_t>(written);
        position_ = fileOffset_;
        if (written != Count)
            Fail("write");
        return;
    }
    pending_.insert(pending_.end(), Buffer, Buffer + Count);
    position_ += static_cast<std::int64_t>(Count);
}

void TupFileStream::Flush() {
    if (pending_.empty())
        return;
    const std::size_t written = file_->Write(pending_.data(), pending_.size());
    const bool whole = written == pending_.size();
    fileOffset_ += static_cast<std::int64_t>(written);
    position_ = fileOffset_;
    pending_.clear();
    if (!whole)
        Fail("write");
}

void TupFileStream::TruncateAtPosition() {
    Flush();
    if (!file_->Truncate(position_))
        Fail("truncate");
}

std::int64_t TupFileStream::Seek(std::int64_t Position) {
    Flush();
    const std::int64_t reached = file_->Seek(Position);
    if (reached >= 0)
        fileOffset_ = position_ = reached;
    return position_;
}

std::int64_t TupFileStream::Size() const {
    return std::max(file_->Size(), position_);
}

} // namespace quorvex
