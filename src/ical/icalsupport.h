#pragma once

// The few conversions between the program's values and libical's, in one place. Only the
// ical layer (and its tests) include this: no other layer sees libical.
#include "calendarrule.h"

#include <cstdint>
#include <libical/ical.h>
#include <memory>
#include <optional>
#include <string>

namespace dvw {

struct ComponentFree
{
    void operator()(icalcomponent *c) const { icalcomponent_free(c); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentFree>;

// libical reports problems through its error state; none of them may end the program.
void quietIcalErrors();

// A string libical handed over (the *_r functions), freed here.
std::string takeIcalString(char *text);

// All-day and floating local times of a day number (years 1..9999).
icaltimetype icalDate(std::int64_t day);
icaltimetype icalDateTime(std::int64_t day, int minutes);
// The day number of a time's own calendar date (no zone conversion); 0 when it is none.
std::int64_t dayOfIcalTime(const icaltimetype &time);

// BYDAY values: weekday 0 = Sunday ... 6 = Saturday, position 0 for every such day.
short icalWeekday(int weekday, int position);

// The RRULE of a rule; its end is an end of day in the form DTSTART has.
icalrecurrencetype icalRecurrenceOf(const CalendarRule &rule, bool timed);
// The parts of an RRULE the line language can match, without its end (UNTIL and COUNT
// need the event's time zone: the caller converts them); nullopt when it has other parts
// (times of day, days of the year, week numbers, set positions the line language lacks,
// another calendar scale) or a frequency below a day.
std::optional<CalendarRule> calendarRuleOf(const icalrecurrencetype &recurrence);

} // namespace dvw
