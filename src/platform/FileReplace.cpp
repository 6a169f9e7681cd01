#include "platform/FileReplace.h"

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace quorvex::platform {
namespace {

inline constexpr mode_t kPermissionMask = 07777;

} // namespace

bool MoveFileOver(const std::string& source, const std::string& target) {
    return std::rename(source.c_str(), target.c_str()) == 0;
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

} // namespace quorvex::platform
