#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvex {

// The header fields of one HTTP message in arrival order; names match without regard to case.
class THttpHeaders {
public:
    void Add(std::string name, std::string value);
    // Adds a "Name: value" line (the value trimmed of spaces and tabs); false without a colon.
    bool AddLine(std::string_view line);

    bool Has(std::string_view name) const;
    // The value of the first field called `name`, or an empty text.
    std::string Value(std::string_view name) const;

    const std::vector<std::pair<std::string, std::string>>& Fields() const { return fields_; }

private:
    std::vector<std::pair<std::string, std::string>> fields_;
};

// True when `a` and `b` hold the same ASCII text without regard to case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// True when `text` holds `part` without regard to ASCII case.
bool ContainsIgnoringCase(std::string_view text, std::string_view part);
// `text` without leading and trailing bytes of value 32 or less.
std::string_view TrimControlAndSpace(std::string_view text);

} // namespace quorvex
