#pragma once

#include "core/timestring.h"

namespace dvw {

enum class SortMode { ByDate, ByCategory };

// Orders two decoded lines for the file sort: negative when a goes first, positive when b
// does, 0 when they are equivalent. Over any set of lines it is a strict weak ordering
// (so a sort can never run off its range). A definition line is ordered by the code its
// text names, whatever its time fields hold.
//
// By date: definitions (by code), then notes grouped by category, then each kind (single
// appointments with and without following days together) by sort key, timed before
// untimed. By category: definitions (by code), then lines grouped by category code, each
// group by kind, sort key and time. Equal keys fall back to the whole texts.
int CompareLines(const TimeString &a, const TimeString &b, SortMode mode);

inline bool LineBefore(const TimeString &a, const TimeString &b, SortMode mode)
{
    return CompareLines(a, b, mode) < 0;
}

} // namespace dvw
