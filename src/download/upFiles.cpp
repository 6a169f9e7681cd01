#include "download/upUtils.h"
#include "platform/Environment.h"
#include "platform/File.h"
#include "platform/FileAttributes.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace quorvex {
namespace {

struct AttributeBit {
    TupFileAttribute member;
    std::uint32_t platformBit;
};

inline constexpr std::array<AttributeBit, 6> kAttributeBits = {{
    {TupFileAttribute::atrArchive, platform::kAttributeArchive},
    {TupFileAttribute::atrHidden, platform::kAttributeHidden},
    {TupFileAttribute::atrReadOnly, platform::kAttributeReadOnly},
    {TupFileAttribute::atrSystem, platform::kAttributeSystem},
    {TupFileAttribute::atrTemporary, platform::kAttributeTemporary},
    {TupFileAttribute::atrOffline, platform::kAttributeOffline},
}};

inline constexpr double kUnixEpochAsDateTime = 25569.0; // 1970-01-01
inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr int kFirstDosYear = 1980;
inline constexpr int kLastDosYear = 2107;
inline constexpr TDateTime kNoTime = -1;

// The time as the file system keeps a DOS date and time: whole, even seconds since 1970, within
// the years DOS dates can hold; nullopt when it cannot be converted.
std::optional<double> DosSeconds(TDateTime value) {
    if (value == kNoTime)
        return std::nullopt;
    TDateTime first = 0, last = 0;
    TryEncodeDateTime(kFirstDosYear, 1, 1, 0, 0, 0, first);
    TryEncodeDateTime(kLastDosYear, 12, 31, 23, 59, 58, last);
    if (!(value >= first && value <= last))
        return std::nullopt;
    const double seconds = std::floor((value - kUnixEpochAsDateTime) * kSecondsPerDay + 1e-6);
    return seconds - std::fmod(seconds, 2.0);
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace

bool ApplyFileAttributes(const std::string& FileName, const TupFileAttributes& Attributes) {
    std::uint32_t bits = 0;
    for (const auto& entry : kAttributeBits)
        if (Attributes.Contains(entry.member))
            bits |= entry.platformBit;
    return platform::SetFileAttributes(FileName, bits);
}

bool SetFileTimes(const std::string& FileName, TDateTime CreationTime, TDateTime LastWriteTime,
                  TDateTime LastAccessTime) {
    (void)CreationTime; // Linux keeps no settable creation time
    return platform::SetFileTimes(FileName, DosSeconds(LastWriteTime), DosSeconds(LastAccessTime));
}

std::int64_t GetFileSize64(const std::string& FileName) {
    return platform::FileSize(FileName);
}

bool FolderExists(const std::string& Path) {
    return platform::IsDirectory(Path);
}

std::string TempFolder() {
    const std::string folder = platform::EnvironmentOr("TMPDIR", "/tmp");
    return FolderExists(folder) ? WithSlash(folder) : platform::ProgramFolder();
}

} // namespace quorvex
