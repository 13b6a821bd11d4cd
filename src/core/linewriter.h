#pragma once

#include "apptinfo.h"
#include "datelist.h"
#include "readcontext.h"
#include "timestring.h"

namespace dvw {

// Builds a fresh line for the appointment in front of appt's free text (appt.text from
// appt.textStart on, kept byte for byte), with the done and excluded dates given, puts it
// into appt and reads it again, so that appt's keys describe the new line.
//
// The line reads back to the same appointment: where the free text or a year-less date
// would otherwise be taken for more of the schedule, the writer keeps them apart. info
// itself is not changed; read appt again for the decoded record of the new line.
// A category definition line (kind 0) is left as it is.
void WriteAppt(const ApptInfo &info, const LineDates &dates, ReadContext &document,
               TimeString &appt);

} // namespace dvw
