#pragma once

#include "core/tdate.h"

#include <QString>

namespace dvw {

class TApptDocument;

// What the day view dialog shows for one day of a document.
struct DayViewContent
{
    QString caption; // "June 5, 2000"
    QString text; // lines ended by CR LF
};

inline constexpr const char *dayNotInRangeText = "Date not in range of appointments being viewed.";
inline constexpr const char *noAppointmentsText = "No appointments.";

// The day's instances in the day's order, each as its description (continuations
// included) ended by CR LF. The range is the calendar's: from the first of the start
// month (the lead-in days before the start date) to the window's end.
DayViewContent DayViewFor(TApptDocument &doc, const TDate &day);

} // namespace dvw
