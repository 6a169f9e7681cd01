#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvex::text {

// Small text helpers shared by the utility routines. Blanks are the bytes up to and including
// the space, as in the command and header texts these routines read.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool Contains(std::string_view text, std::string_view piece);

// The whole text as a decimal integer with an optional sign; nullopt otherwise or on overflow.
std::optional<long long> ToInteger(std::string_view text);
long long ToIntegerOr(std::string_view text, long long fallback);

// The extension of a file name: from its last "." after the last "/", "\" or ":".
std::string FileExtension(std::string_view name);

} // namespace quorvex::text
