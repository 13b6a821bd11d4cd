#pragma once

#include "core/timestring.h"

#include <cstddef>
#include <string>
#include <vector>

namespace dvw {

// One run of a change to a line table: at `at`, the lines `removed` gave way to the lines
// `inserted` (either may be empty: an insertion, a removal, or a replacement).
struct LineRun
{
    std::size_t at = 0;
    std::vector<std::string> removed;
    std::vector<std::string> inserted;

    bool operator==(const LineRun &) const = default;
};

// What one step did to a line table: runs in ascending order that do not overlap, each
// `at` counted in the table as it was before the step. Applying it to the table before
// gives the table after, byte for byte; its inverse does the opposite.
struct LineChange
{
    std::vector<LineRun> runs;

    bool empty() const { return runs.empty(); }
    // The first line the change touches, in either table.
    std::size_t firstLine() const { return runs.empty() ? 0 : runs.front().at; }
    // The same change backwards: applied to the table after, it gives the table before.
    LineChange inverse() const;

    bool operator==(const LineChange &) const = default;
};

// The change from `before` to `after`, found in time linear in the lines: the common
// start and end are cut off; in what is left, lines only removed or only inserted (a
// subsequence: archived lines, lines added) become one run each, lines replaced one for
// one become runs of the replaced lines, and anything else is one run of the whole middle.
LineChange DiffLines(const std::vector<std::string> &before, const std::vector<TimeString> &after);
LineChange DiffLines(const std::vector<std::string> &before, const std::vector<std::string> &after);

// Applies the change to a table that holds what the change's `removed` lines say; a table
// that does not is a broken precondition. Changed lines of a TimeString table are new
// objects that must be read before their keys are used.
void ApplyLineChange(std::vector<std::string> &lines, const LineChange &change);
void ApplyLineChange(std::vector<TimeString> &lines, const LineChange &change);
// Whether the table holds what the change's `removed` lines say, at their places.
bool ChangeFits(const std::vector<TimeString> &lines, const LineChange &change);

// The texts of a line table, as a snapshot to diff a later table against.
std::vector<std::string> LineTexts(const std::vector<TimeString> &lines);

} // namespace dvw
