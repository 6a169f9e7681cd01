#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvex::platform {

// Moves `source` over `target` in one step: at every moment `target` is either the old file or
// the new one, never missing. Both must lie on one file system. False on failure (errno set).
bool MoveFileOver(const std::string& source, const std::string& target);

// Makes `copy` a second name of the file `path` (a hard link), removing what lay at `copy`:
// the file stays whole under `copy` whatever later moves over `path`. False on failure.
bool KeepCopyAs(const std::string& path, const std::string& copy);

// Writes all of `bytes` to the open file `descriptor`, going on after interruptions; false when
// the file takes no more (errno set).
bool WriteAllTo(int descriptor, const std::string& bytes);

// Writes `bytes` to `path` so that after a crash it holds either all of them or what it held
// before: a new file beside it, flushed to disk, then moved over it. False on failure.
bool WriteFileWhole(const std::string& path, const std::string& bytes);
// The whole content of a regular file (links not followed); nullopt when it cannot be read.
std::optional<std::string> ReadFileWhole(const std::string& path);

// The permission bits (the 07777 part of the mode) of an existing file; nullopt when missing.
std::optional<unsigned> PermissionBits(const std::string& path);
bool SetPermissionBits(const std::string& path, unsigned bits);

// True for an existing file of any kind but a folder.
bool FileExists(const std::string& path);

// True when `path` itself is a symbolic link (whether or not it leads anywhere).
bool IsLink(const std::string& path);

// The names of the regular files in `folder` (the current folder when empty), in the order the
// file system lists them, links left out; empty when it cannot be read.
std::vector<std::string> FileNamesIn(const std::string& folder);

} // namespace quorvex::platform
