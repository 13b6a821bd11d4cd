#pragma once

#include "core/tdate.h"

#include <cstdint>

namespace dvw {

// One occurrence of one line on one date. A plain note has no date (day number 0).
struct Appt
{
    TDate date;
    std::uint8_t done = 0; // 1 when this occurrence is marked done
    std::int32_t line = 0; // position in the document's line table
};

} // namespace dvw
