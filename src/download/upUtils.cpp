#include "download/upUtils.h"

#include "download/upText.h"
#include "platform/Clock.h"

#include <array>
#include <cmath>

namespace quorvex {
namespace {

inline constexpr int kDaysFromCivilEpochTo18991230 = -25569; // 1899-12-30 counted from 1970-01-01
inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kMinutesPerDay = 1440.0;
inline constexpr int kVersionParts = 4;
inline constexpr long long kNotAVersionNumber = -1;

// Days since 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Splits a version into exactly four parts; missing parts read "0", parts beyond four are ignored.
std::array<std::string, kVersionParts> VersionParts(std::string_view version) {
    const std::string rest = std::string(version) + ".";
    std::array<std::string, kVersionParts> parts{"0", "0", "0", "0"};
    std::size_t start = 0;
    for (auto& part : parts) {
        const auto dot = rest.find('.', start);
        if (dot == std::string::npos)
            break;
        part = rest.substr(start, dot - start);
        start = dot + 1;
    }
    return parts;
}

// strcmp of the two texts with only the low eight bits of the difference, read as signed.
std::int8_t ByteWiseCompare(std::string_view a, std::string_view b) {
    const std::string left(a), right(b);
    std::size_t i = 0;
    while (left.c_str()[i] != '\0' && left.c_str()[i] == right.c_str()[i])
        ++i;
    const int difference =
        static_cast<unsigned char>(left.c_str()[i]) - static_cast<unsigned char>(right.c_str()[i]);
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(difference & 0xFF));
}

} // namespace

bool TryEncodeDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second,
                       TDateTime& Value) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
        Day > DaysInMonth(Year, Month))
        return false;
    if (Hour < 0 || Hour > 23 || Minute < 0 || Minute > 59 || Second < 0 || Second > 59)
        return false;
    const long long days =
        DaysFromCivil(Year, static_cast<unsigned>(Month), static_cast<unsigned>(Day)) -
        kDaysFromCivilEpochTo18991230;
    const double dayFraction = (Hour * 3600.0 + Minute * 60.0 + Second) / kSecondsPerDay;
    // Before 1899-12-30 the time of day counts away from zero, as the date-time format has it.
    Value = days >= 0 ? days + dayFraction : days - dayFraction;
    return true;
}

std::string ExtractURLFileName(std::string_view Text) {
    const auto last = Text.find_last_of("/\\:");
    return std::string(last == std::string_view::npos ? Text : Text.substr(last + 1));
}

std::uint8_t Percent(long double Total, long double Done) {
    if (Total == 0)
        return 0;
    const long double value = std::nearbyint(Done * 100 / Total);
    if (!std::isfinite(value) || value < 0 || value > 255)
        return 0;
    return static_cast<std::uint8_t>(value);
}

double TimeZoneBias() {
    return platform::LocalTimeBiasMinutes() / kMinutesPerDay;
}

std::int8_t VersionCompare(std::string_view A, std::string_view B) {
    const auto partsA = VersionParts(A);
    const auto partsB = VersionParts(B);
    for (int i = 0; i < kVersionParts; ++i) {
        const long long a = text::ToIntegerOr(partsA[i], kNotAVersionNumber);
        const long long b = text::ToIntegerOr(partsB[i], kNotAVersionNumber);
        if (a == kNotAVersionNumber || b == kNotAVersionNumber)
            return ByteWiseCompare(A, B);
        if (a != b)
            return a > b ? 1 : -1;
    }
    return 0;
}

} // namespace quorvex
