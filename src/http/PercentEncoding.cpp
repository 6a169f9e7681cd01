#include "http/PercentEncoding.h"

#include <cctype>

namespace quorvex {
namespace {

bool NeedsEscape(unsigned char byte) {
    if (byte < 0x20 || byte >= 0x80)
        return true;
    return std::string_view(" #%*+<>").find(static_cast<char>(byte)) != std::string_view::npos;
}

// What a path segment may hold unescaped: letters, digits and "-._~!$&'()*+,;=:@/".
bool AllowedInPath(unsigned char byte) {
    return std::isalnum(byte) != 0 ||
           std::string_view("-._~!$&'()*+,;=:@/").find(static_cast<char>(byte)) !=
               std::string_view::npos;
}

std::string Escaped(std::string_view text, bool (*needsEscape)(unsigned char)) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (needsEscape(byte)) {
            result += '%';
            result += kHexDigits[byte >> 4];
            result += kHexDigits[byte & 0x0F];
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

std::string PercentEncode(std::string_view Text) {
    return Escaped(Text, NeedsEscape);
}

std::string EncodeURLPath(std::string_view Path) {
    return Escaped(Path, [](unsigned char byte) { return !AllowedInPath(byte); });
}

} // namespace quorvex
