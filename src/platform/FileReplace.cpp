#include "platform/FileReplace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex::platform {
namespace {

inline constexpr mode_t kPermissionMask = 07777;
inline constexpr mode_t kOwnerReadWrite = 0600;
inline constexpr std::size_t kReadStep = 4096;
inline constexpr const char* kNewSuffix = ".new";

} // namespace

bool MoveFileOver(const std::string& source, const std::string& target) {
    return std::rename(source.c_str(), target.c_str()) == 0;
}

bool KeepCopyAs(const std::string& path, const std::string& copy) {
    ::unlink(copy.c_str());
    return ::link(path.c_str(), copy.c_str()) == 0;
}

bool WriteFileWhole(const std::string& path, const std::string& bytes) {
    const std::string fresh = path + kNewSuffix;
    ::unlink(fresh.c_str());
    const int descriptor = ::open(
        fresh.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kOwnerReadWrite);
    if (descriptor < 0)
        return false;
    const bool written = WriteAllTo(descriptor, bytes) && ::fsync(descriptor) == 0;
    if (::close(descriptor) == 0 && written && MoveFileOver(fresh, path))
        return true;
    ::unlink(fresh.c_str());
    return false;
}

std::optional<std::string> ReadFileWhole(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    std::string bytes;
    char buffer[kReadStep];
    ssize_t count = 0;
    while ((count = ::read(descriptor, buffer, sizeof(buffer))) > 0 ||
           (count < 0 && errno == EINTR))
        bytes.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
    ::close(descriptor);
    if (count < 0)
        return std::nullopt;
    return bytes;
}

std::optional<unsigned> PermissionBits(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return static_cast<unsigned>(info.st_mode & kPermissionMask);
}

bool SetPermissionBits(const std::string& path, unsigned bits) {
    return ::chmod(path.c_str(), static_cast<mode_t>(bits) & kPermissionMask) == 0;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool IsLink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    const std::string path = folder.empty() ? "." : folder;
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(path.c_str()), ::closedir);
    if (!listing)
        return names;
    while (const dirent* entry = ::readdir(listing.get())) {
        struct stat info {};
        if (::fstatat(::dirfd(listing.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode))
            names.emplace_back(entry->d_name);
    }
    return names;
}

bool WriteAllTo(int descriptor, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += static_cast<std::size_t>(count);
    }
    return true;
}

} // namespace quorvex::platform
