#include "platform/InstanceLock.h"

#include "platform/Environment.h"
#include "platform/UpgradeFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex::platform {
namespace {

// Locks the file's first byte. Open-file-description locks belong to the open file, not to
// the process, so two opens in one process exclude each other as two processes do; and the
// kernel changes a held lock's type in one step, so no other start can slip in between.
int LockFirstByte(int fd, short type, bool wait) {
    struct flock region {};
    region.l_type = type;
    region.l_whence = SEEK_SET;
    region.l_start = 0;
    region.l_len = 1;
    int result;
    do {
        result = fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &region);
    } while (result != 0 && errno == EINTR);
    return result;
}

// Opens the lock file at path only when it is this user's alone: never through a link, and
// never a file someone else owns or may write, which another user could hold locked for ever.
int OpenOwnLockFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != getuid() ||
        (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Where the lock goes when the shared temporary folder holds someone else's file: a folder of
// the user's own, which other users cannot plant anything in.
std::string PrivateLockPath(const std::string& name) {
    const std::string folder = ConfigHome() + "/Quorvex";
    mkdir(ConfigHome().c_str(), 0700);
    mkdir(folder.c_str(), 0700);
    return folder + "/" + name + ".lock";
}

} // namespace

std::string RuntimeFilePath(const std::string& name, const std::string& extension) {
    if (const auto runtime = UserRuntimeFolder())
        return *runtime + name + "." + extension;
    return "/tmp/" + name + "-" + std::to_string(getuid()) + "." + extension;
}

std::string TInstanceLock::LockPath(const std::string& name) {
    return RuntimeFilePath(name, "lock");
}

TInstanceLock::TInstanceLock(const std::string& name) {
    fd_ = OpenOwnLockFile(LockPath(name));
    if (fd_ < 0)
        fd_ = OpenOwnLockFile(PrivateLockPath(name));
    if (fd_ < 0)
        return;
    // The exclusive lock is had only when no instance holds the shared one; it is then turned
    // into the shared one. Otherwise the shared lock is joined (waiting, at most, for another
    // start to finish the same step).
    if (LockFirstByte(fd_, F_WRLCK, false) == 0) {
        LockFirstByte(fd_, F_RDLCK, false);
        return;
    }
    alreadyExisted_ = errno == EAGAIN || errno == EACCES;
    LockFirstByte(fd_, F_RDLCK, true);
}

TInstanceLock::~TInstanceLock() {
    if (fd_ >= 0)
        close(fd_);
}

} // namespace quorvex::platform
