#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::platform {

// The running program's executable (/proc/self/exe); empty when it cannot be read.
std::string ProgramPath();

// Whether this user may create and delete files in folder.
bool CanCreateFilesIn(const std::string& folder);

// The bytes this user may still write on the file system of folder; nullopt when unknown.
std::optional<std::uint64_t> FreeBytesIn(const std::string& folder);

// The names of the regular files in folder that end with suffix (case-sensitive), including
// hidden ones; empty when the folder cannot be read.
std::vector<std::string> FilesEndingWith(const std::string& folder, const std::string& suffix);

// $XDG_RUNTIME_DIR with a trailing "/" when it is set and a folder that only this user can
// enter (owned by the user, no access for group or others, not a link); nullopt otherwise.
std::optional<std::string> UserRuntimeFolder();

// A new folder only this user can enter, made with mkdtemp in parent as prefix + six random
// characters; its path with a trailing "/". Throws Exception when it cannot be made.
std::string MakePrivateFolder(const std::string& parent, const std::string& prefix);

// Deletes, in parent, the folders made by MakePrivateFolder with this prefix that belong to
// this user, with the file name inside; failures are ignored (a later start tries again).
void RemovePrivateFolders(const std::string& parent, const std::string& prefix,
                          const std::string& name);

// Creates path as a new executable file for this user alone, refusing an existing file or
// link, and writes bytes into it. Throws Exception (with the system's reason) on any failure;
// a file it created but could not fill is deleted again.
void WriteNewExecutable(const std::string& path, const std::string& bytes);

} // namespace quorvex::platform
