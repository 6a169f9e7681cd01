#include "platform/NativeExecutable.h"

#include "platform/File.h"

#include <array>
#include <cstring>
#include <elf.h>

namespace quorvex::platform {
namespace {

// The identification bytes and the machine field, which all ELF classes keep in one place.
inline constexpr std::size_t kHeaderBytes = offsetof(Elf64_Ehdr, e_machine) + 2;
using Header = std::array<char, kHeaderBytes>;

bool ReadHeader(const std::string& path, Header& header) {
    auto file = File::Open(path, File::Mode::ReadExisting);
    if (!file)
        return false;
    std::size_t done = 0;
    while (done < header.size()) {
        const auto count = file->Read(header.data() + done, header.size() - done);
        if (!count || *count == 0)
            return false;
        done += *count;
    }
    return std::memcmp(header.data(), ELFMAG, SELFMAG) == 0;
}

bool SameWhere(const Header& a, const Header& b, std::size_t offset, std::size_t size) {
    return std::memcmp(a.data() + offset, b.data() + offset, size) == 0;
}

} // namespace

bool IsNativeExecutable(const std::string& path) {
    Header own{}, candidate{};
    if (!ReadHeader("/proc/self/exe", own) || !ReadHeader(path, candidate))
        return false;
    return SameWhere(own, candidate, EI_CLASS, 2) && // class and byte order
           SameWhere(own, candidate, offsetof(Elf64_Ehdr, e_machine), 2);
}

} // namespace quorvex::platform
