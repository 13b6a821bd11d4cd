#pragma once

#include "appt.h"
#include "core/tdate.h"

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace dvw {

// The window's day cells are keyed by month and day only (a window of at most 365 days
// meets each pair once): 12 x 31 slots, 1 January first.
inline constexpr std::size_t dayCellCount = 12 * 31;
using DayCells = std::array<std::vector<Appt>, dayCellCount>;

// month 1..12, day 1..31.
inline std::size_t daySlot(std::uint32_t month, std::uint32_t day)
{
    assert(month >= 1 && month <= 12 && day >= 1 && day <= 31);
    return (month - 1) * 31 + day - 1;
}

// The slot of a day number of a real date.
inline std::size_t daySlotOf(std::int64_t day)
{
    std::uint32_t month, dayOfMonth, year;
    TDate::fromDayNumber(static_cast<std::uint32_t>(day)).SplitDate(month, dayOfMonth, year);
    return daySlot(month, dayOfMonth);
}

} // namespace dvw
