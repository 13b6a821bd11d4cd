#pragma once

namespace dvw {

// Appointment kinds. The numbers are part of the command-line tool's output.
enum ApptKind : int {
    CategoryLine = 0,
    Note = 1,
    MonthlyInYear = 2,
    Single = 3,
    SingleShowFollowing = 4,
    Monthly = 5,
    Anniversary = 6,
    Birthday = 7,
    EveryNDays = 8,
    EveryNWeeks = 9,
    EveryNMonths = 10,
    WeeklyOnDays = 11,
    NthWeekdayOfMonth = 12,
    Unscheduled = 13,
};

} // namespace dvw
