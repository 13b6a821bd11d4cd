#pragma once

#include "settingvalue.h"

namespace dvw {

// Settings are loaded as stored (only the dialog sizes and page measures are range-checked
// at load), and the settings file may hold anything a user typed. Every place that uses a
// number to size a loop, divide, or allocate takes it through one of these, so a value
// such as DAYS=2147483647 or ZOOM=0 never hangs the program, divides by zero or asks for
// unbounded memory. The stored value itself is left alone.

// `value` held inside [low, high].
int limitForUse(int value, int low, int high);

// The values each number means something for where it is used; the settings table hands
// them on, so a command-line option or a dialog takes exactly what its setting takes.
inline constexpr IntRange kDaysRange {1, 365};
// Ten years is beyond any sensible nag and keeps date arithmetic far from overflow.
inline constexpr IntRange kNagRange {0, 3660};
inline constexpr IntRange kUnimportantRange {0, 6};
inline constexpr IntRange kZoomRange {25, 400};
inline constexpr IntRange kColumnsRange {1, 4};
inline constexpr IntRange kPagesRange {1, 100};
inline constexpr IntRange kIntervalRange {1, 3600};
inline constexpr IntRange kDurationRange {0, 3600};
inline constexpr IntRange kCenturyBreakRange {0, 100};
inline constexpr IntRange kAdvanceRange {0, 1440};

// DAYS: days in the viewed window, [1, 365].
int usableDays(int days);
// NAG: days a past nag date stays in the notes section, [0, 3660].
int usableNagDays(int nag);
// UNIMPORTANT: the day of the week, Sunday 0 to Saturday 6, taken modulo 7 (also for a
// negative value).
int usableUnimportantDay(int unimportant);
// ZOOM: percent scale of the screen fonts, [25, 400].
int usableZoom(int zoom);
// NUMCOLS: columns of a list printout; outside 1 to 4 the printout uses one column, as
// the print options dialog shows it.
int usableColumns(int numCols);
// NUMPAGES: pages of a list printout; outside 1 to 100 one page.
int usablePages(int numPages);
// INTERVAL: seconds between alarm sounds, [1, 3600], so the repeat timer never spins.
int usableIntervalSeconds(int interval);
// DURATION: plays, or seconds of beeping; 0 means until closed; [0, 3600].
int usableDuration(int duration);
// CENTURYBREAK: two-digit years below it are 20xx, [0, 100]. A larger stored break would
// turn a typed 1999 into 3999.
int usableCenturyBreak(int centuryBreak);
// ADVANCE: alarm lead in minutes, [0, 1440] (one day; alarms look at today only).
int usableAdvanceMinutes(int advance);

} // namespace dvw
