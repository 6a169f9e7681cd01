#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// Form encoding of one value, byte by byte: letters and digits stay, a space becomes "+",
// every other byte "%" and two upper-case hexadecimal digits.
std::string EncodeFormValue(std::string_view value);

// Replaces the value (after the first "=") of each "name=value" line by its encoding.
void EncodeFormLines(std::vector<std::string>& lines);

// The form body: two or more lines joined so that each ends with "&"; one line alone; leading
// and trailing bytes of 32 or less removed in both cases.
std::string JoinFormLines(const std::vector<std::string>& lines);

} // namespace quorvex
