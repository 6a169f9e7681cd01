#include "platform/FileContents.h"

#include "platform/Exception.h"
#include "platform/File.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex::platform {
namespace {

constexpr std::size_t kReadPiece = 65536;

[[noreturn]] void ThrowFileError(const std::string& what, const std::string& path) {
    throw Exception("cannot " + what + " " + path + ": " + SystemErrorText());
}

File OpenForReading(const std::string& path) {
    auto file = File::Open(path, File::Mode::ReadExisting);
    if (!file)
        ThrowFileError("open", path);
    return std::move(*file);
}

// Reads until `length` bytes or the end of the file.
std::string ReadUpTo(File& file, const std::string& path, std::size_t length) {
    std::string bytes(length, '\0');
    std::size_t filled = 0;
    while (filled < length) {
        const auto count = file.Read(bytes.data() + filled, length - filled);
        if (!count)
            ThrowFileError("read", path);
        if (*count == 0)
            break;
        filled += *count;
    }
    bytes.resize(filled);
    return bytes;
}

} // namespace

bool ReadableFile(const std::string& path) {
    return FileSize(path) >= 0 && ::access(path.c_str(), R_OK) == 0;
}

std::optional<std::chrono::system_clock::time_point> LastWriteTime(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    const auto sinceEpoch =
        std::chrono::seconds(info.st_mtim.tv_sec) + std::chrono::nanoseconds(info.st_mtim.tv_nsec);
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(sinceEpoch));
}

std::string ReadWholeFile(const std::string& path) {
    File file = OpenForReading(path);
    // The size is only a first guess: files under /proc report none.
    const std::size_t expected = static_cast<std::size_t>(std::max<std::int64_t>(file.Size(), 0));
    std::string bytes = ReadUpTo(file, path, expected + 1);
    if (bytes.size() <= expected)
        return bytes;
    for (std::string piece; !(piece = ReadUpTo(file, path, kReadPiece)).empty();)
        bytes += piece;
    return bytes;
}

std::string ReadFileRange(const std::string& path, std::uint64_t offset, std::size_t length) {
    File file = OpenForReading(path);
    if (file.Seek(static_cast<std::int64_t>(offset)) < 0)
        ThrowFileError("seek in", path);
    return ReadUpTo(file, path, length);
}

} // namespace quorvex::platform
