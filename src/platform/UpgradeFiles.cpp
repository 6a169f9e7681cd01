#include "platform/UpgradeFiles.h"

#include "platform/Exception.h"
#include "platform/FileReplace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace quorvex::platform {
namespace {

inline constexpr mode_t kExecutableForOwner = 0700;
inline constexpr std::size_t kPathRoom = 4096;

struct DirectoryClose {
    void operator()(DIR* directory) const { closedir(directory); }
};

// A folder that is ours alone: a real folder (not a link), our own, closed to everyone else.
bool IsPrivateFolder(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string Reason(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

template <typename Visit> void ForEachEntry(const std::string& folder, Visit visit) {
    const std::unique_ptr<DIR, DirectoryClose> directory(opendir(folder.c_str()));
    if (!directory)
        return;
    while (const dirent* entry = readdir(directory.get()))
        visit(std::string(entry->d_name));
}

} // namespace

std::string ProgramPath() {
    char path[kPathRoom];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

bool CanCreateFilesIn(const std::string& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::optional<std::uint64_t> FreeBytesIn(const std::string& folder) {
    struct statvfs space {};
    if (::statvfs(folder.c_str(), &space) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize;
}

std::vector<std::string> FilesEndingWith(const std::string& folder, const std::string& suffix) {
    std::vector<std::string> names;
    ForEachEntry(folder, [&](const std::string& name) {
        struct stat status {};
        if (name.size() > suffix.size() && name.ends_with(suffix) &&
            lstat((WithSlash(folder) + name).c_str(), &status) == 0 && S_ISREG(status.st_mode))
            names.push_back(name);
    });
    return names;
}

std::optional<std::string> UserRuntimeFolder() {
    const char* folder = std::getenv("XDG_RUNTIME_DIR");
    if (folder == nullptr || *folder == '\0' || !IsPrivateFolder(folder))
        return std::nullopt;
    return WithSlash(folder);
}

std::string MakePrivateFolder(const std::string& parent, const std::string& prefix) {
    std::string pattern = WithSlash(parent) + prefix + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr)
        throw Exception(Reason("Cannot make a private folder " + pattern));
    return WithSlash(pattern);
}

void RemovePrivateFolders(const std::string& parent, const std::string& prefix,
                          const std::string& name) {
    ForEachEntry(parent, [&](const std::string& entry) {
        const std::string folder = WithSlash(parent) + entry;
        if (!entry.starts_with(prefix) || !IsPrivateFolder(folder))
            return;
        ::unlink((WithSlash(folder) + name).c_str());
        ::rmdir(folder.c_str());
    });
}

void WriteNewExecutable(const std::string& path, const std::string& bytes) {
    const int descriptor = ::open(
        path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kExecutableForOwner);
    if (descriptor < 0)
        throw Exception(Reason("Cannot create " + path));
    const std::string failure = WriteAllTo(descriptor, bytes) ? "" : Reason("Cannot write " + path);
    const bool closed = ::close(descriptor) == 0;
    if (failure.empty() && closed)
        return;
    ::unlink(path.c_str());
    throw Exception(failure.empty() ? Reason("Cannot write " + path) : failure);
}

} // namespace quorvex::platform
