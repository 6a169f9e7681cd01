#include "platform/FileAttributes.h"

#include <charconv>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace quorvex::platform {
namespace {

inline constexpr const char* kAttributeName = "user.dosattrib";
inline constexpr mode_t kAllWriteBits = 0222;
inline constexpr mode_t kOwnerWriteBit = 0200;
inline constexpr std::size_t kStoredTextRoom = 32;

} // namespace

bool SetFileAttributes(const std::string& path, std::uint32_t attributes) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    const bool readOnly = (attributes & kAttributeReadOnly) != 0;
    const mode_t mode =
        readOnly ? (info.st_mode & ~kAllWriteBits) : (info.st_mode | kOwnerWriteBit);
    if (::chmod(path.c_str(), mode & 07777) != 0)
        return false;
    const std::string text = std::to_string(attributes);
    // A file system without extended attributes keeps only the read-only bit; that is all the
    // system itself relies on, so the set is stored where it can be and not insisted on.
    ::setxattr(path.c_str(), kAttributeName, text.data(), text.size(), 0);
    return true;
}

std::optional<std::uint32_t> GetFileAttributes(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    char stored[kStoredTextRoom];
    const ssize_t length = ::getxattr(path.c_str(), kAttributeName, stored, sizeof(stored));
    const std::uint32_t readOnly = (info.st_mode & kAllWriteBits) == 0 ? kAttributeReadOnly : 0;
    std::uint32_t value = 0;
    if (length > 0 && std::from_chars(stored, stored + length, value).ec == std::errc())
        return (value & ~kAttributeReadOnly) | readOnly; // the permissions have the last word
    return (S_ISDIR(info.st_mode) ? kAttributeDirectory : kAttributeArchive) | readOnly;
}

} // namespace quorvex::platform
