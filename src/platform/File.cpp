#include "platform/File.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex::platform {
namespace {

inline constexpr mode_t kNewFileMode = 0666; // narrowed by the umask

int OpenFlags(File::Mode mode) {
    switch (mode) {
    case File::Mode::ReadExisting:
        return O_RDONLY;
    case File::Mode::WriteExisting:
        return O_WRONLY;
    case File::Mode::CreateAlways:
        return O_RDWR | O_CREAT | O_TRUNC;
    case File::Mode::OpenAlways:
        return O_RDWR | O_CREAT | O_NOFOLLOW;
    case File::Mode::CreateFresh:
        return O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW;
    }
    return O_RDONLY;
}

timespec TimeOrOmit(std::optional<double> seconds) {
    if (!seconds)
        return timespec{0, UTIME_OMIT};
    const double whole = std::floor(*seconds);
    return timespec{static_cast<time_t>(whole), static_cast<long>((*seconds - whole) * 1e9)};
}

} // namespace

std::string SystemErrorText() {
    return std::strerror(errno);
}

std::optional<File> File::Open(const std::string& path, Mode mode) {
    if (mode == Mode::CreateFresh && ::unlink(path.c_str()) != 0 && errno != ENOENT)
        return std::nullopt;
    const int descriptor = ::open(path.c_str(), OpenFlags(mode) | O_CLOEXEC, kNewFileMode);
    if (descriptor < 0)
        return std::nullopt;
    struct stat info {};
    if (fstat(descriptor, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(descriptor);
        errno = EISDIR;
        return std::nullopt;
    }
    return File(descriptor);
}

File::File(File&& other) noexcept
    : descriptor_(other.descriptor_) {
    other.descriptor_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = other.descriptor_;
        other.descriptor_ = -1;
    }
    return *this;
}

File::~File() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

std::optional<std::size_t> File::Read(char* buffer, std::size_t size) {
    while (true) {
        const ssize_t count = ::read(descriptor_, buffer, size);
        if (count >= 0)
            return static_cast<std::size_t>(count);
        if (errno != EINTR)
            return std::nullopt;
    }
}

std::size_t File::Write(const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t count = ::write(descriptor_, data + done, size - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        done += static_cast<std::size_t>(count);
    }
    return done;
}

std::int64_t File::Seek(std::int64_t position) {
    return ::lseek(descriptor_, static_cast<off_t>(position), SEEK_SET);
}

std::int64_t File::Size() const {
    struct stat info {};
    return fstat(descriptor_, &info) == 0 ? static_cast<std::int64_t>(info.st_size) : -1;
}

bool File::Truncate(std::int64_t size) {
    return ::ftruncate(descriptor_, static_cast<off_t>(size)) == 0;
}

std::int64_t FileSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return static_cast<std::int64_t>(info.st_size);
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool DeleteFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool SetFileTimes(const std::string& path, std::optional<double> lastWrite,
                  std::optional<double> lastAccess) {
    auto file = File::Open(path, File::Mode::WriteExisting);
    if (!file)
        return false;
    const timespec times[2] = {TimeOrOmit(lastAccess), TimeOrOmit(lastWrite)};
    return ::futimens(file->Descriptor(), times) == 0;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ignored;
    const std::string absolute = std::filesystem::absolute(path, ignored).string();
    return absolute.empty() ? path : absolute;
}

std::string ProgramFolder() {
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return "./";
    const std::string program(path, static_cast<std::size_t>(length));
    return program.substr(0, program.find_last_of('/') + 1);
}

} // namespace quorvex::platform
