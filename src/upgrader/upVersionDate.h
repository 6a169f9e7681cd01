#pragma once

#include "download/upUtils.h"

#include <string>
#include <string_view>

namespace quorvex {

// Today's local date, without a time of day.
TDateTime VersionToday();

// A release date written month "/" day "/" year; today's date when the text is not such a
// date (a missing "/", a part that is not a number, a day that does not exist).
TDateTime ParseVersionDate(std::string_view Text);

// Two-digit month, "/", two-digit day, "/", four-digit year.
std::string FormatVersionDate(TDateTime Date);

} // namespace quorvex
