#pragma once

#include "core/datetextsettings.h"
#include "core/tdate.h"

#include <optional>
#include <string>
#include <string_view>

namespace dvw {

// The years a start date may have.
inline constexpr std::uint32_t firstStartYear = 1;
inline constexpr std::uint32_t lastStartYear = 9999;

// The text typed as the start date, when it is a complete date: a real day (not day 0,
// not a day the month lacks), a named month (no "?"), a year in 1..9999, and nothing but
// blanks after it. Anything else is no start date and is ignored.
std::optional<TDate> ReadStartDate(std::string_view text, const DateTextSettings &settings);

// The date as the start date dialog and the menu show it: the date text without the blank
// that ends a complete date.
std::string StartDateText(const TDate &date, const DateTextSettings &settings);

// The first three letters of the typed start date's day name; empty when the text is no
// start date (a date without year or with any month has no definite day).
std::string StartDateWeekday(std::string_view text, const DateTextSettings &settings);

// The day scroll bar: the typed start date moved by `days`, or today when the text is no
// start date. A step that would leave the years 1..9999 keeps the date.
std::string StepStartDate(std::string_view text, int days, const TDate &today,
                          const DateTextSettings &settings);

} // namespace dvw
