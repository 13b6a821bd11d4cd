#pragma once

#include "core/readcontext.h"
#include "core/tdate.h"

#include <string>

namespace dvw {

// How a line reads, in words: its kind and schedule, then what else it says ("every 2nd
// week on Monday from 4 January 2027, warned 3 days ahead, priority 2").
std::string ReadingOf(const std::string &line, ReadContext &context);
// The next `count` days the line shows on from `from` on, within ten years, as
// "Next: Mon 7 Dec 2026, ...", or what it gives instead.
std::string NextDatesOf(const std::string &line, ReadContext &context, const TDate &from,
                        int count);

} // namespace dvw
