#include "linechange.h"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <optional>

namespace dvw {

namespace {

const std::string &textOf(const std::string &line)
{
    return line;
}

const std::string &textOf(const TimeString &line)
{
    return line.text;
}

// The middle of a diff: before[b0, b1) gave way to after[a0, a1).
struct Middle
{
    std::size_t b0, b1, a0, a1;
};

template<class After>
Middle middleOf(const std::vector<std::string> &before, const std::vector<After> &after)
{
    const std::size_t n = before.size();
    const std::size_t m = after.size();
    std::size_t prefix = 0;
    while (prefix < n && prefix < m && before[prefix] == textOf(after[prefix]))
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < n - prefix && suffix < m - prefix
           && before[n - 1 - suffix] == textOf(after[m - 1 - suffix]))
        ++suffix;
    return {prefix, n - suffix, prefix, m - suffix};
}

template<class After>
std::vector<std::string> textsOf(const std::vector<After> &lines, std::size_t from, std::size_t to)
{
    std::vector<std::string> texts;
    texts.reserve(to - from);
    for (std::size_t i = from; i < to; ++i)
        texts.push_back(textOf(lines[i]));
    return texts;
}

// Equal lengths: each line that differs was replaced by the one at its place.
template<class After>
LineChange replacedRuns(const std::vector<std::string> &before, const std::vector<After> &after,
                        const Middle &mid)
{
    LineChange change;
    const std::size_t length = mid.b1 - mid.b0;
    for (std::size_t i = 0; i < length;) {
        if (before[mid.b0 + i] == textOf(after[mid.a0 + i])) {
            ++i;
            continue;
        }
        LineRun run;
        run.at = mid.b0 + i;
        while (i < length && before[mid.b0 + i] != textOf(after[mid.a0 + i])) {
            run.removed.push_back(before[mid.b0 + i]);
            run.inserted.push_back(textOf(after[mid.a0 + i]));
            ++i;
        }
        change.runs.push_back(std::move(run));
    }
    return change;
}

// The shorter middle as a subsequence of the longer one, matched greedily from the left
// (which finds it whenever it is one): the unmatched lines of the longer side are runs of
// removed lines (removing) or of inserted lines. None when it is no subsequence.
template<class After>
std::optional<LineChange> subsequenceRuns(const std::vector<std::string> &before,
                                          const std::vector<After> &after, const Middle &mid,
                                          bool removing)
{
    LineChange change;
    std::size_t i = mid.b0;
    std::size_t j = mid.a0;
    while (removing ? i < mid.b1 : j < mid.a1) {
        const bool matches = i < mid.b1 && j < mid.a1 && before[i] == textOf(after[j]);
        if (matches) {
            ++i;
            ++j;
            continue;
        }
        // Removed lines next to each other, or lines inserted at one place, share a run.
        const bool extends = !change.runs.empty()
            && (removing ? change.runs.back().at + change.runs.back().removed.size() == i
                         : change.runs.back().at == i);
        if (!extends) {
            change.runs.emplace_back();
            change.runs.back().at = i;
        }
        if (removing)
            change.runs.back().removed.push_back(before[i++]);
        else
            change.runs.back().inserted.push_back(textOf(after[j++]));
    }
    if (i != mid.b1 || j != mid.a1)
        return std::nullopt;
    return change;
}

template<class After>
LineChange diffLines(const std::vector<std::string> &before, const std::vector<After> &after)
{
    const Middle mid = middleOf(before, after);
    const std::size_t removed = mid.b1 - mid.b0;
    const std::size_t inserted = mid.a1 - mid.a0;
    if (removed == 0 && inserted == 0)
        return {};
    if (removed == inserted)
        return replacedRuns(before, after, mid);
    if (std::optional<LineChange> runs = subsequenceRuns(before, after, mid, removed > inserted))
        return std::move(*runs);
    LineChange change;
    change.runs.push_back(
        {mid.b0, textsOf(before, mid.b0, mid.b1), textsOf(after, mid.a0, mid.a1)});
    return change;
}

std::string makeLine(const std::string &text, std::string *)
{
    return text;
}

TimeString makeLine(const std::string &text, TimeString *)
{
    return TimeString(text);
}

template<class Line>
void applyChange(std::vector<Line> &lines, const LineChange &change)
{
    const auto make
        = [](const std::string &text) { return makeLine(text, static_cast<Line *>(nullptr)); };
    if (change.runs.size() == 1) {
        // One run, the usual case: only the lines behind it move.
        const LineRun &run = change.runs.front();
        assert(run.at + run.removed.size() <= lines.size());
        const std::size_t common = std::min(run.removed.size(), run.inserted.size());
        for (std::size_t k = 0; k < common; ++k)
            lines[run.at + k] = make(run.inserted[k]);
        const auto from = lines.begin() + static_cast<std::ptrdiff_t>(run.at + common);
        if (run.removed.size() > common) {
            lines.erase(from, from + static_cast<std::ptrdiff_t>(run.removed.size() - common));
        } else {
            std::vector<Line> added;
            added.reserve(run.inserted.size() - common);
            for (std::size_t k = common; k < run.inserted.size(); ++k)
                added.push_back(make(run.inserted[k]));
            lines.insert(from, std::make_move_iterator(added.begin()),
                         std::make_move_iterator(added.end()));
        }
        return;
    }
    // Many runs (archived lines all over the file): one pass, not one shift per run.
    std::vector<Line> out;
    out.reserve(lines.size());
    std::size_t pos = 0;
    for (const LineRun &run : change.runs) {
        assert(run.at >= pos && run.at + run.removed.size() <= lines.size());
        for (; pos < run.at; ++pos)
            out.push_back(std::move(lines[pos]));
        for (const std::string &text : run.inserted)
            out.push_back(make(text));
        pos = run.at + run.removed.size();
    }
    for (; pos < lines.size(); ++pos)
        out.push_back(std::move(lines[pos]));
    lines.swap(out);
}

} // namespace

LineChange LineChange::inverse() const
{
    LineChange back;
    back.runs.reserve(runs.size());
    // Each run's place in the table after: earlier runs moved it by what they added.
    std::ptrdiff_t shift = 0;
    for (const LineRun &run : runs) {
        back.runs.push_back({static_cast<std::size_t>(static_cast<std::ptrdiff_t>(run.at) + shift),
                             run.inserted, run.removed});
        shift += static_cast<std::ptrdiff_t>(run.inserted.size())
            - static_cast<std::ptrdiff_t>(run.removed.size());
    }
    return back;
}

LineChange DiffLines(const std::vector<std::string> &before, const std::vector<TimeString> &after)
{
    return diffLines(before, after);
}

LineChange DiffLines(const std::vector<std::string> &before, const std::vector<std::string> &after)
{
    return diffLines(before, after);
}

void ApplyLineChange(std::vector<std::string> &lines, const LineChange &change)
{
    applyChange(lines, change);
}

void ApplyLineChange(std::vector<TimeString> &lines, const LineChange &change)
{
    applyChange(lines, change);
}

bool ChangeFits(const std::vector<TimeString> &lines, const LineChange &change)
{
    for (const LineRun &run : change.runs) {
        if (run.at + run.removed.size() > lines.size())
            return false;
        for (std::size_t k = 0; k < run.removed.size(); ++k) {
            if (lines[run.at + k].text != run.removed[k])
                return false;
        }
    }
    return true;
}

std::vector<std::string> LineTexts(const std::vector<TimeString> &lines)
{
    std::vector<std::string> texts;
    texts.reserve(lines.size());
    for (const TimeString &line : lines)
        texts.push_back(line.text);
    return texts;
}

} // namespace dvw
