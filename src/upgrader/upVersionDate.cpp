#include "upgrader/upVersionDate.h"

#include "download/upText.h"
#include "platform/Clock.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace quorvex {
namespace {

inline constexpr long long kDaysFrom18991230To19700101 = 25569;
inline constexpr long long kSecondsPerDay = 86400;
inline constexpr long long kSecondsPerMinute = 60;

struct TCalendarDate {
    long long Year;
    unsigned Month;
    unsigned Day;
};

// The proleptic Gregorian date of a day counted from 1970-01-01.
TCalendarDate CivilFromDays(long long days) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const unsigned month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    return {static_cast<long long>(yearOfEra) + era * 400 + (month <= 2), month, day};
}

// An integer that fits an int, or nothing.
std::optional<int> DatePart(std::string_view text) {
    const auto value = text::ToInteger(text);
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*value);
}

} // namespace

TDateTime VersionToday() {
    const long long utcSeconds = std::chrono::duration_cast<std::chrono::seconds>(
                                     std::chrono::system_clock::now().time_since_epoch())
                                     .count();
    const long long localSeconds =
        utcSeconds - platform::LocalTimeBiasMinutes() * kSecondsPerMinute;
    const long long day = localSeconds >= 0 ? localSeconds / kSecondsPerDay
                                            : (localSeconds - kSecondsPerDay + 1) / kSecondsPerDay;
    return static_cast<TDateTime>(day + kDaysFrom18991230To19700101);
}

TDateTime ParseVersionDate(std::string_view Text) {
    const auto firstSlash = Text.find('/');
    if (firstSlash == std::string_view::npos)
        return VersionToday();
    const auto secondSlash = Text.find('/', firstSlash + 1);
    if (secondSlash == std::string_view::npos)
        return VersionToday();
    const auto month = DatePart(Text.substr(0, firstSlash));
    const auto day = DatePart(Text.substr(firstSlash + 1, secondSlash - firstSlash - 1));
    const auto year = DatePart(Text.substr(secondSlash + 1));
    TDateTime date = 0;
    if (!month || !day || !year || !TryEncodeDateTime(*year, *month, *day, 0, 0, 0, date))
        return VersionToday();
    return date;
}

std::string FormatVersionDate(TDateTime Date) {
    const auto days = static_cast<long long>(std::floor(Date)) - kDaysFrom18991230To19700101;
    const TCalendarDate date = CivilFromDays(days);
    char text[32];
    std::snprintf(text, sizeof text, "%02u/%02u/%04lld", date.Month, date.Day, date.Year);
    return text;
}

} // namespace quorvex
