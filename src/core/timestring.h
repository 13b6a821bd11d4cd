#pragma once

#include "apptkind.h"
#include "tdate.h"

#include <cstdint>
#include <string>

namespace dvw {

// One line of an appointment file in memory, with the keys the reader derives from it so
// that views can sort, colour and time an entry without decoding it again. A free text
// of several lines holds CR LF between them.
//
// Copying copies the text only: a copy must be read again before its keys are used.
// Moving keeps everything.
class TimeString
{
public:
    TimeString() = default;
    explicit TimeString(std::string lineText)
        : text(std::move(lineText))
    { }
    TimeString(const TimeString &other)
        : text(other.text)
    { }
    TimeString &operator=(const TimeString &other)
    {
        if (this != &other)
            *this = TimeString(other.text);
        return *this;
    }
    TimeString(TimeString &&) noexcept = default;
    TimeString &operator=(TimeString &&) noexcept = default;

    std::string text;
    std::int32_t textStart = 0; // where the free text begins
    std::int32_t time = -1; // minutes since midnight, -1 for none
    std::int32_t alarmAdvance = -1; // minutes, -1 for none
    // 0 none; a priority 1..4 with the top bit set; else the category's colour number.
    std::uint8_t shade = 0;
    std::uint32_t category = 0; // packed category code, 0 for none
    TDate birthDate;
    bool noPrint = false;
    bool marked = false; // the file view's mark; the reader never touches it
    bool holiday = false;
    std::int32_t kind = Unscheduled;
    std::int32_t sortKey = 0;
};

} // namespace dvw
