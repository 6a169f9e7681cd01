#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvex::platform {

// The text of the last system error (errno) of the calling thread.
std::string SystemErrorText();

// An open file descriptor; closed on destruction. Every call reports failure by its result and
// leaves errno set.
class File {
public:
    enum class Mode {
        ReadExisting,  // read only; the file must exist
        WriteExisting, // write only; the file must exist
        CreateAlways,  // read and write; an existing file is emptied
        OpenAlways,    // read and write; created when missing; never through a link
        // Read and write; whatever is at the path (a file, a link) is removed and a new file
        // made in its place, so the bytes written never land anywhere else.
        CreateFresh,
    };

    static std::optional<File> Open(const std::string& path, Mode mode);

    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    // Bytes read (0 at the end), or nullopt on failure.
    std::optional<std::size_t> Read(char* buffer, std::size_t size);
    // Writes as much of data as it can: the bytes written, fewer than size on failure.
    std::size_t Write(const char* data, std::size_t size);
    // The position reached, or -1.
    std::int64_t Seek(std::int64_t position);
    std::int64_t Size() const;
    bool Truncate(std::int64_t size);
    int Descriptor() const { return descriptor_; }

private:
    explicit File(int descriptor)
        : descriptor_(descriptor) {}
    int descriptor_ = -1;
};

// Size of an existing regular file, or -1.
std::int64_t FileSize(const std::string& path);
bool IsDirectory(const std::string& path);
bool DeleteFile(const std::string& path);
// Sets the last-write and last-access times (seconds since 1970 in UTC) of an existing file,
// each only when given; the creation time cannot be set on Linux.
bool SetFileTimes(const std::string& path, std::optional<double> lastWrite,
                  std::optional<double> lastAccess);
// `path` made absolute against the current folder (unchanged when that cannot be told).
std::string AbsolutePath(const std::string& path);
// The folder of the running program, with a trailing "/".
std::string ProgramFolder();

} // namespace quorvex::platform
