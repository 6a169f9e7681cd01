#include "download/upText.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace quorvex::text {
namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::string TrimLeft(std::string_view text) {
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
    return std::string(first, text.end());
}

std::string Trim(std::string_view text) {
    std::string left = TrimLeft(text);
    while (!left.empty() && IsBlank(left.back()))
        left.pop_back();
    return left;
}

std::string UpperCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

std::string LowerCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

bool Contains(std::string_view text, std::string_view piece) {
    return text.find(piece) != std::string_view::npos;
}

std::optional<long long> ToInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

long long ToIntegerOr(std::string_view text, long long fallback) {
    return ToInteger(text).value_or(fallback);
}

std::string FileExtension(std::string_view name) {
    const auto dot = name.find_last_of(".\\/:");
    if (dot == std::string_view::npos || name[dot] != '.')
        return {};
    return std::string(name.substr(dot));
}

} // namespace quorvex::text
