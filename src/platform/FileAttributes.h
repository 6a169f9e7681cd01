#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvex::platform {

// DOS-style file attributes. Read-only maps to the write permission bits; the whole set is also
// kept in the extended attribute "user.dosattrib" where the file system allows it.
inline constexpr std::uint32_t kAttributeReadOnly = 0x0001;
inline constexpr std::uint32_t kAttributeHidden = 0x0002;
inline constexpr std::uint32_t kAttributeSystem = 0x0004;
inline constexpr std::uint32_t kAttributeDirectory = 0x0010;
inline constexpr std::uint32_t kAttributeArchive = 0x0020;
inline constexpr std::uint32_t kAttributeNormal = 0x0080;
inline constexpr std::uint32_t kAttributeTemporary = 0x0100;
inline constexpr std::uint32_t kAttributeOffline = 0x1000;

// False when the file is missing or its permissions cannot be changed.
bool SetFileAttributes(const std::string& path, std::uint32_t attributes);

// The stored set, or what the file's kind and permissions tell; nullopt when it is missing.
std::optional<std::uint32_t> GetFileAttributes(const std::string& path);

} // namespace quorvex::platform
