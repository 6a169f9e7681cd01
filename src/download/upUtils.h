#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex {

// A point in time counted in days since 1899-12-30 00:00, the fraction being the time of day;
// 0 stands for "no date".
using TDateTime = double;

// Date and time of day as a TDateTime; false for an impossible date or time.
bool TryEncodeDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second,
                       TDateTime& Value);

// The text after the last "/", "\" or ":" (the whole text when there is none).
std::string ExtractURLFileName(std::string_view Text);

// Done as a whole percentage of Total, halves rounded to even; 0 when Total is 0 or the result
// does not fit a byte.
std::uint8_t Percent(long double Total, long double Done);

// Reads the three HTTP date forms (RFC 1123, RFC 850, asctime), with "GMT" or a numeric zone
// such as +0800, and gives local time using the time-zone bias in effect now; 0 when unreadable.
TDateTime ParseHTTPDate(std::string_view Text);

// The local time-zone bias now, in days (universal time minus local time).
double TimeZoneBias();

// Compares two four-part dotted versions; falls back to a byte-wise comparison of the whole
// texts when a part is not a number. Positive when A is newer.
std::int8_t VersionCompare(std::string_view A, std::string_view B);

// Splits a shell command into the program and its parameters, both trimmed.
void SplitCommandLine(std::string& Command, std::string& Parameters);

} // namespace quorvex
