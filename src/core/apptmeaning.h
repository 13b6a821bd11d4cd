#pragma once

#include "apptinfo.h"
#include "datelist.h"
#include "timestring.h"

#include <string>

namespace dvw {

// What a decoded line means, as one text: everything the program acts on (kind, dates and
// their flags, date lists, counts, marks, category, priority, time, alarm advance, the
// line's keys and the free text), without the positions of the parts in the line and
// without what rewriting a line may normalise: the offset of a single date (it is part of
// its date), the last weekday named in a weekday list (the set is what counts), a done
// mark without a date. Two lines mean the same when their texts are equal.
std::string DescribeMeaning(const ApptInfo &info, const TimeString &appt, const DateList &done,
                            const DateList &excluded);

} // namespace dvw
