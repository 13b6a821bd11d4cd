#pragma once

#include "core/tdate.h"

#include <string>

namespace dvw {

// The status bar's date field: day name, three blanks, month name, day, year
// ("Monday   December 7, 2026").
std::string StatusDateText(const TDate &date);
// The status bar's time field, in the program's time text ("9:05 A.M.").
std::string StatusTimeText(int hour, int minute);

} // namespace dvw
