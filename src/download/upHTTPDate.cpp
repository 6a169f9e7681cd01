#include "download/upText.h"
#include "download/upUtils.h"

#include <array>
#include <limits>

namespace quorvex {
namespace {

inline constexpr std::array<const char*, 7> kDayNames = {"SUN", "MON", "TUE", "WED",
                                                         "THU", "FRI", "SAT"};
inline constexpr std::array<const char*, 12> kMonthNames = {
    "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
inline constexpr int kYearNotANumber = 1900;
inline constexpr int kZoneLength = 5; // "+hhmm"
inline constexpr double kHoursPerDay = 24.0;
inline constexpr double kMinutesPerDay = 1440.0;

// The text as a 32-bit integer; fallback when it is none, also when it does not fit (a longer
// number cut to 32 bits could pass for a plausible day, hour or year).
int IntegerOr(std::string_view text, int fallback) {
    const auto value = text::ToInteger(text);
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max())
        return fallback;
    return static_cast<int>(*value);
}

// 1-based position of the first three letters of text in names (upper case); 0 for none.
template <std::size_t N>
int NameIndex(std::string_view text, const std::array<const char*, N>& names) {
    const std::string key = text::UpperCase(text.substr(0, 3));
    for (std::size_t i = 0; i < N; ++i)
        if (key == names[i])
            return static_cast<int>(i) + 1;
    return 0;
}

// Removes and returns the text before the next separator; the rest loses its leading blanks.
std::string TakeField(std::string& rest, char separator) {
    const auto at = rest.find(separator);
    std::string field = rest.substr(0, at);
    rest = at == std::string::npos ? std::string() : text::TrimLeft(rest.substr(at + 1));
    return field;
}

char FieldSeparator(const std::string& rest) {
    const auto dash = rest.find('-');
    const auto space = rest.find(' ');
    const bool dashFirst = dash != std::string::npos && dash > 0 && dash < space;
    return dashFirst ? '-' : ' ';
}

int FullYear(int year) {
    if (year < 80)
        return year + 2000;
    if (year < 100)
        return year + 1900;
    return year;
}

// Offset of a "+hhmm" / "-hhmm" zone in days; 0 for "GMT" and anything unreadable.
double ZoneOffset(const std::string& zone) {
    if (zone.size() < kZoneLength || (zone[0] != '+' && zone[0] != '-'))
        return 0;
    const auto hours = text::ToInteger(zone.substr(1, 2));
    const auto minutes = text::ToInteger(zone.substr(3, 2));
    if (!hours || !minutes)
        return 0;
    const double offset = *hours / kHoursPerDay + *minutes / kMinutesPerDay;
    return zone[0] == '-' ? -offset : offset;
}

// The date and time in the zone the text names; 0 for an impossible date or time.
TDateTime ReadDateAndTime(std::string& rest) {
    if (NameIndex(rest, kDayNames) != 0) {
        const auto space = rest.find(' ');
        rest = text::TrimLeft(space == std::string::npos ? rest : rest.substr(space + 1));
    }
    const char separator = FieldSeparator(rest);
    const bool monthFirst = NameIndex(rest.substr(0, rest.find(separator)), kMonthNames) != 0;
    int day = 1, month = 0;
    if (monthFirst) {
        month = NameIndex(TakeField(rest, separator), kMonthNames);
        day = IntegerOr(TakeField(rest, separator), 1);
    } else {
        day = IntegerOr(TakeField(rest, separator), 1);
        month = NameIndex(TakeField(rest, separator), kMonthNames);
    }
    std::string yearText = TakeField(rest, ' ');
    int year = IntegerOr(yearText, kYearNotANumber);
    if (year == kYearNotANumber) { // the asctime form: the time stands before the year
        year = IntegerOr(text::Trim(rest), kYearNotANumber);
        rest = yearText;
    }
    int hour = 0, minute = 0, second = 0;
    if (text::Contains(rest, ":")) {
        std::string clock = TakeField(rest, ' ') + ":";
        hour = IntegerOr(TakeField(clock, ':'), 0);
        minute = IntegerOr(TakeField(clock, ':'), 0);
        second = IntegerOr(TakeField(clock, ':'), 0);
    }
    TDateTime value = 0;
    if (!TryEncodeDateTime(FullYear(year), month, day, hour, minute, second, value))
        return 0;
    return value;
}

} // namespace

TDateTime ParseHTTPDate(std::string_view Text) {
    std::string rest = text::Trim(Text);
    if (rest.empty())
        return 0;
    const TDateTime zoned = ReadDateAndTime(rest);
    if (zoned == 0)
        return 0;
    return zoned - ZoneOffset(text::TrimLeft(rest)) - TimeZoneBias();
}

} // namespace quorvex
