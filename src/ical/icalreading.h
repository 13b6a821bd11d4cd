#pragma once

#include "icalsupport.h"

#include <string>
#include <string_view>
#include <vector>

namespace dvw {

// One item of a calendar (an event, a to-do, a journal entry, a time zone...): the
// component, which belongs to its calendar, and the line of the file where it begins.
struct CalendarItem
{
    icalcomponent *component = nullptr;
    icalcomponent *calendar = nullptr; // the VCALENDAR it is in; null for a bare item
    int line = 0;
};

// A calendar file read by libical.
struct ReadCalendar
{
    std::vector<ComponentPtr> roots; // what the file holds at its top level, in order
    std::vector<CalendarItem> items; // the items inside them (a bare item stands alone)
    std::string error; // empty when the file could be read; else it names the line
};

// Reads iCalendar text with libical, line by line, so that a problem names the line of
// the file where it is: a line that is no content line, a value of a property an import
// relies on that libical cannot read, a component that is not ended, a NUL byte. Other
// properties that libical does not know or cannot read are passed over.
ReadCalendar ReadIcalendar(std::string_view text);

} // namespace dvw
