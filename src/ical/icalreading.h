#pragma once

#include "icalsupport.h"

#include <string>
#include <string_view>

namespace dvw {

// One item of a calendar (an event, a to-do, a journal entry...), owned, with the calendar
// whose time zones it may name and the line of the file where it begins.
struct CalendarItem
{
    ComponentPtr component;
    icalcomponent *zones = nullptr; // a VCALENDAR of every VTIMEZONE of the file
    int line = 0;
};

// Takes each item of a calendar as soon as it is read.
class CalendarItemSink
{
public:
    virtual ~CalendarItemSink() = default;
    virtual void take(CalendarItem item) = 0;
};

// Reads iCalendar text with libical, line by line, handing each item over as it ends, so
// that a large file is never held whole, and so that a problem names the line of the file
// where it is: a line that is no content line, a value of a property an import relies on
// that libical cannot read, a component that is not ended, a NUL byte. Other properties
// that libical does not know or cannot read are passed over. Time zones (VTIMEZONE) are
// kept for the items, which may name them before or after they come; the calendar's own
// properties are not needed. An item that carries its line (lineProperty and
// lineNumberProperty) needs none of its lines after those two: libical is not given them.
//
// Returns an empty text when the calendar could be read, else what is wrong.
std::string ReadIcalendar(std::string_view text, CalendarItemSink &sink, ComponentPtr &zones);

} // namespace dvw
