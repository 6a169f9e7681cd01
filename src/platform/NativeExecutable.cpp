#include "platform/NativeExecutable.h"

#include "platform/File.h"

#include <algorithm>
#include <cstring>
#include <elf.h>
#include <optional>

namespace quorvex::platform {
namespace {

// The identification bytes and the fields up to the section header count, which all ELF
// classes keep at the start of the file.
struct Header {
    unsigned char ident[EI_NIDENT];
    std::uint16_t machine = 0;
    std::uint64_t tablesEnd = 0; // where the program and section header tables end
};

template <typename Ehdr> std::uint64_t TablesEnd(const Ehdr& header) {
    return std::max<std::uint64_t>(
        header.e_phoff + std::uint64_t{header.e_phnum} * header.e_phentsize,
        header.e_shoff + std::uint64_t{header.e_shnum} * header.e_shentsize);
}

std::optional<Header> ReadHeader(File& file) {
    Elf64_Ehdr bytes{};
    const auto count = file.Read(reinterpret_cast<char*>(&bytes), sizeof(bytes));
    if (!count || *count < sizeof(Elf32_Ehdr) || std::memcmp(bytes.e_ident, ELFMAG, SELFMAG) != 0)
        return std::nullopt;
    Header header;
    std::memcpy(header.ident, bytes.e_ident, EI_NIDENT);
    header.machine = bytes.e_machine; // the same place in both classes
    if (bytes.e_ident[EI_CLASS] == ELFCLASS64) {
        if (*count < sizeof(Elf64_Ehdr))
            return std::nullopt;
        header.tablesEnd = TablesEnd(bytes);
    } else {
        Elf32_Ehdr narrow{};
        std::memcpy(&narrow, &bytes, sizeof(narrow));
        header.tablesEnd = TablesEnd(narrow);
    }
    return header;
}

std::optional<Header> HeaderOf(const std::string& path, std::int64_t& size) {
    auto file = File::Open(path, File::Mode::ReadExisting);
    if (!file)
        return std::nullopt;
    size = file->Size();
    return ReadHeader(*file);
}

bool IsScript(const std::string& path) {
    auto file = File::Open(path, File::Mode::ReadExisting);
    char start[2] = {};
    return file && file->Read(start, sizeof(start)) == sizeof(start) && start[0] == '#' &&
           start[1] == '!';
}

} // namespace

bool IsRunnableHere(const std::string& path) {
    std::int64_t ownSize = 0, size = 0;
    const auto own = HeaderOf("/proc/self/exe", ownSize);
    const auto candidate = HeaderOf(path, size);
    if (!candidate)
        return IsScript(path);
    return own && own->ident[EI_CLASS] == candidate->ident[EI_CLASS] &&
           own->ident[EI_DATA] == candidate->ident[EI_DATA] && own->machine == candidate->machine &&
           size >= 0 && candidate->tablesEnd <= static_cast<std::uint64_t>(size);
}

} // namespace quorvex::platform
