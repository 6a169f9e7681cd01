#include "platform/FileContents.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace quorvex::platform {

std::optional<FileContents> ReadFileContents(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file)
        return std::nullopt;
    const auto sinceEpoch =
        std::chrono::seconds(info.st_mtim.tv_sec) + std::chrono::nanoseconds(info.st_mtim.tv_nsec);
    return FileContents{
        bytes.str(),
        std::chrono::system_clock::time_point(
            std::chrono::duration_cast<std::chrono::system_clock::duration>(sinceEpoch))};
}

} // namespace quorvex::platform
