#pragma once

#include "apptinfo.h"
#include "datelist.h"
#include "readcontext.h"
#include "timestring.h"

namespace dvw {

// Decodes appt.text into both records and puts the line's done and excluded dates into
// dates (emptied first). Never fails: text that fits nothing is free text of kind 13.
void ReadAppt(ApptInfo &info, ReadContext &document, TimeString &appt, LineDates &dates);
// The same for a caller that needs no dates: they are not kept.
void ReadAppt(ApptInfo &info, ReadContext &document, TimeString &appt);

// Asks the next read to find the "\D" or "\X" code that carries this date.
void SetTarget(ApptInfo &info, const TDate &date);

// Removes the "\D" or "\X" code carrying this date (with the blanks behind it) and reads
// the line again. False, with the text untouched, when the line has no such code.
bool RemoveDateCode(TimeString &appt, const TDate &date, ReadContext &document);

// True when both lines' free texts begin at the same position and everything before it
// is equal, ignoring ASCII letter case.
bool SameSchedule(TimeString &a, TimeString &b, ReadContext &document);

} // namespace dvw
