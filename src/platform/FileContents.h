#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace quorvex::platform {

// An existing regular file's bytes and the time it was last written.
struct FileContents {
    std::string Bytes;
    std::chrono::system_clock::time_point LastWrite;
};

// nullopt when `path` names no regular file or it cannot be read.
std::optional<FileContents> ReadFileContents(const std::string& path);

} // namespace quorvex::platform
