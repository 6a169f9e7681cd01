#include "http/HttpHeaders.h"

#include <algorithm>
#include <cctype>

namespace quorvex {
namespace {

bool SameLetter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
}

bool IsSpaceOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameLetter);
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), SameLetter) !=
           text.end();
}

std::string_view TrimControlAndSpace(std::string_view text) {
    while (!text.empty() && IsSpaceOrControl(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpaceOrControl(text.back()))
        text.remove_suffix(1);
    return text;
}

void THttpHeaders::Add(std::string name, std::string value) {
    fields_.emplace_back(std::move(name), std::move(value));
}

bool THttpHeaders::AddLine(std::string_view line) {
    size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return false;
    Add(std::string(TrimControlAndSpace(line.substr(0, colon))),
        std::string(TrimControlAndSpace(line.substr(colon + 1))));
    return true;
}

bool THttpHeaders::Has(std::string_view name) const {
    return std::any_of(fields_.begin(), fields_.end(),
                       [&](const auto& field) { return EqualsIgnoringCase(field.first, name); });
}

std::string THttpHeaders::Value(std::string_view name) const {
    for (const auto& [fieldName, value] : fields_) {
        if (EqualsIgnoringCase(fieldName, name))
            return value;
    }
    return {};
}

} // namespace quorvex
