#include "http/FormEncoding.h"

#include "http/HttpHeaders.h"

namespace quorvex {
namespace {

bool StaysAsIs(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9');
}

} // namespace

std::string EncodeFormValue(std::string_view value) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(value.size() * 3);
    for (char c : value) {
        auto byte = static_cast<unsigned char>(c);
        if (StaysAsIs(byte)) {
            encoded += c;
        } else if (byte == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += kHexDigits[byte >> 4];
            encoded += kHexDigits[byte & 0x0F];
        }
    }
    return encoded;
}

void EncodeFormLines(std::vector<std::string>& lines) {
    for (std::string& line : lines) {
        size_t equals = line.find('=');
        if (equals != std::string::npos && equals + 1 < line.size())
            line = line.substr(0, equals + 1) + EncodeFormValue(line.substr(equals + 1));
    }
}

std::string JoinFormLines(const std::vector<std::string>& lines) {
    if (lines.size() < 2)
        return std::string(TrimControlAndSpace(lines.empty() ? "" : lines.front()));
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    // Every line break becomes "&", also one that an unencoded value carries.
    std::string joined;
    joined.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            joined += '&';
            ++i;
        } else {
            joined += text[i];
        }
    }
    return std::string(TrimControlAndSpace(joined));
}

} // namespace quorvex
