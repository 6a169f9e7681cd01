#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace quorvex::test_support {

// The bytes of a file; empty when it cannot be read.
inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Replaces the file's contents with `bytes`, creating it when it is missing.
inline void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace quorvex::test_support
