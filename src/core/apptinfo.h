#pragma once

#include "apptkind.h"
#include "tdate.h"

#include <array>
#include <cstdint>

namespace dvw {

class ReadContext;

// One line fully decoded. Short-lived: made for one appointment, read, used, dropped.
// The done and excluded dates go to the LineDates the reader is given, not here.
struct ApptInfo
{
    explicit ApptInfo(std::int32_t lineIndex = -1)
        : index(lineIndex)
    { }

    // The instance this record stands for: date, done mark, line number.
    TDate workDate;
    bool completed = false; // the line begins with ">"
    std::int32_t index = -1; // position in the line table; -1 for no stored line

    ReadContext *document = nullptr;
    std::int32_t kind = Unscheduled;
    std::int32_t scheduleStart = 0;
    std::int32_t scheduleEnd = 0; // kind 3 only: just behind the date and its offset
    bool hasStart = false;
    TDate startDate;
    bool hasEnd = false;
    TDate endDate;
    TDate mainDate;
    bool hasTarget = false;
    TDate targetDate;
    // The "\D" or "\X" code whose date is the target: its backslash, and just behind it
    // and its blanks. targetEnd is 0 when none was found.
    std::int32_t targetStart = 0;
    std::int32_t targetEnd = 0;
    // The first "\\D" code carrying the target date, the same way; unmarking an instance
    // done removes that one.
    std::int32_t doneTargetStart = 0;
    std::int32_t doneTargetEnd = 0;
    // The first nag code: its backslash, and just behind its letter and the blanks after
    // it. nagEnd is 0 when the line has none.
    std::int32_t nagStart = 0;
    std::int32_t nagEnd = 0;
    std::int32_t n = 0; // repeat count, or the ordinal of kind 12 (5 = last)
    std::int32_t month = 0; // kind 12: 1..12, 0 for every month
    std::int32_t weekday = 0; // 0 = Sunday ... 6 = Saturday
    std::int32_t offset = 0; // days after (+) or before (-) the computed date
    std::int32_t showFollowing = 0;
    std::int32_t warnDays = 0;
    bool holiday = false;
    bool markL = false;
    bool nag = false;
    bool unimportant = false;
    bool hasExcluded = false;
    bool done = false;
    bool observed = false; // Saturday moves to Friday, Sunday to Monday
    bool weekdaysOnly = false;
    std::uint8_t priority = 0;
    bool noPrint = false;
    std::uint32_t category = 0;
    std::int32_t time = -1;
    std::int32_t alarmAdvance = -1;
    std::array<bool, 7> weekdays {}; // Sunday first
};

} // namespace dvw
