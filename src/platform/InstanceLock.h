#pragma once

#include <string>

namespace quorvex::platform {

// Where the running program keeps a file of this user's session: $XDG_RUNTIME_DIR/<name>.<ext>
// when that folder is the user's alone, else /tmp/<name>-<uid>.<ext>.
std::string RuntimeFilePath(const std::string& name, const std::string& extension);

// The mark of running instances: every instance holds a shared lock on a file in the user's
// runtime folder for as long as it runs, whether it was started with arguments or not. The
// kernel drops the lock when the process dies, however it dies.
class TInstanceLock {
public:
    // Tells whether another process holds the lock named `name`, then holds it (shared) until
    // the object goes away.
    explicit TInstanceLock(const std::string& name);
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    // True when another process held the lock. A lock file that cannot be opened counts as no
    // other instance, so a broken runtime folder never keeps the program from starting.
    bool AlreadyExisted() const { return alreadyExisted_; }

    // The lock file used for `name`: RuntimeFilePath(name, "lock"). When that file is a link or
    // someone else's, the lock lives in the user's configuration folder instead.
    static std::string LockPath(const std::string& name);

private:
    int fd_ = -1;
    bool alreadyExisted_ = false;
};

} // namespace quorvex::platform
