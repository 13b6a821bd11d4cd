#pragma once

#include "datetextsettings.h"
#include "tdate.h"
#include "textcursor.h"

#include <cstdint>
#include <string>

namespace dvw {

// The date in the line language's form. A complete date ends in one blank ("3/5/99 "),
// a partial one does not ("?/5", "3/5", "?/32").
std::string FormatDate(const TDate &date, const DateTextSettings &settings);
// A clock time such as "9:30 A.M." from minutes since midnight.
std::string FormatTime(int minutes);

// Decimal digits accumulated in 32-bit unsigned arithmetic (a huge number wraps), then
// the blanks behind them. 0 when no digit stands at the cursor.
std::uint32_t ReadNumber(TextCursor &cursor);
// A month name (at least 3 letters, any case) gives 1..12, "?" gives 0, else -1.
int ReadMonth(TextCursor &cursor);
// A weekday name (at least 3 letters, any case) gives 0 = Sunday ... 6 = Saturday, else -1.
int ReadWeekday(TextCursor &cursor);
// On failure the date keeps its value and the cursor stands behind the leading blanks.
bool ReadDate(TextCursor &cursor, TDate &date, const DateTextSettings &settings);
// A time is recognised but not consumed: the cursor always ends where it began.
bool ReadTime(TextCursor &cursor, int &minutes, const DateTextSettings &settings);

} // namespace dvw
