#include "linesort.h"

#include "categorytables.h"

#include <algorithm>

namespace dvw {

namespace {

template<typename T>
int signOf(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Single appointments with and without following days sort as one kind.
int kindRank(const TimeString &line)
{
    return line.kind == SingleShowFollowing ? Single : line.kind;
}

// Whole texts byte by byte as signed 8-bit values; a shorter text reads as if padded
// with NULs, and only then does length decide, so the order stays total.
int compareTexts(const std::string &a, const std::string &b)
{
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<signed char>(i < a.size() ? a[i] : '\0');
        const auto cb = static_cast<signed char>(i < b.size() ? b[i] : '\0');
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return signOf(a.size(), b.size());
}

// Untimed lines (time -1) read as the largest unsigned time and so come last.
int compareTimes(const TimeString &a, const TimeString &b)
{
    const int byTime
        = signOf(static_cast<std::uint32_t>(a.time), static_cast<std::uint32_t>(b.time));
    return byTime != 0 ? byTime : compareTexts(a.text, b.text);
}

int compareDefinitions(const TimeString &a, const TimeString &b)
{
    const int byCode = signOf(DefinitionCode(a.text), DefinitionCode(b.text));
    return byCode != 0 ? byCode : compareTexts(a.text, b.text);
}

} // namespace

int CompareLines(const TimeString &a, const TimeString &b, SortMode mode)
{
    const int k = signOf(kindRank(a), kindRank(b));
    const bool aDefines = a.kind == CategoryLine;
    const bool bDefines = b.kind == CategoryLine;
    if (mode == SortMode::ByCategory && k != 0 && (aDefines || bDefines))
        return aDefines ? -1 : 1;
    if (k == 0 && aDefines)
        return compareDefinitions(a, b);
    if (mode == SortMode::ByDate && k != 0)
        return k;
    // Signed, as the codes have always been compared here; compared, not subtracted, so
    // codes far apart cannot overflow into the wrong order.
    const int c
        = signOf(static_cast<std::int32_t>(a.category), static_cast<std::int32_t>(b.category));
    if (mode == SortMode::ByCategory) {
        if (c != 0)
            return c;
        if (k != 0)
            return k;
    }
    if (mode == SortMode::ByDate && a.kind == Note && c != 0)
        return c;
    const int bySortKey = signOf(a.sortKey, b.sortKey);
    if (bySortKey != 0)
        return bySortKey;
    return compareTimes(a, b);
}

} // namespace dvw
