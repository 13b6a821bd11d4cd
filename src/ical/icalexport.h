#pragma once

#include "core/tdate.h"

#include <string>

namespace dvw {

class TApptDocument;

// What an export covers and how.
struct ExportRequest
{
    TDate today; // the day the calendar is made (its DTSTAMP)
    TDate first; // the window: its first and last day
    TDate last;
    bool listed = false; // every repeating line as its days in the window (--expand)
};

// The names of the properties that carry a line through a calendar unchanged.
inline constexpr const char *lineProperty = "X-DAYVANE-LINE";
inline constexpr const char *lineNumberProperty = "X-DAYVANE-LINE-NUMBER";
// A line holding control characters (other than a tab and the CR LF of continued text)
// goes as the hexadecimal of its bytes, marked by this parameter of lineProperty.
inline constexpr const char *lineBytesParameter = "X-DAYVANE-BYTES";

// Every line of the document as one VCALENDAR (RFC 5545), whatever the view filters: a
// VEVENT per dated line, a VTODO per note (a done one COMPLETED), a VJOURNAL that only
// carries the line for category definitions and other text; deleted ("~") lines are left
// out. Each names its line (lineProperty) and its line-table position. Within the window
// an event covers exactly the days the line shows on there.
std::string ExportCalendar(TApptDocument &doc, const ExportRequest &request);

} // namespace dvw
