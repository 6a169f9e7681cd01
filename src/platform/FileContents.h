#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace quorvex::platform {

// True when `path` names a regular file that this process can read.
bool ReadableFile(const std::string& path);

// When the file at `path` was last written; nullopt when there is no such file.
std::optional<std::chrono::system_clock::time_point> LastWriteTime(const std::string& path);

// The whole content of the file at `path`; throws Exception naming the file and the reason.
std::string ReadWholeFile(const std::string& path);

// `length` bytes of the file at `path` from `offset` (fewer at its end); throws Exception.
std::string ReadFileRange(const std::string& path, std::uint64_t offset, std::size_t length);

} // namespace quorvex::platform
