#include "settingslimits.h"

#include <algorithm>

namespace dvw {

int limitForUse(int value, int low, int high)
{
    return std::clamp(value, low, high);
}

namespace {

int limitTo(int value, IntRange range)
{
    return limitForUse(value, range.low, range.high);
}

} // namespace

int usableDays(int days)
{
    return limitTo(days, kDaysRange);
}

int usableCenturyBreak(int centuryBreak)
{
    return limitTo(centuryBreak, kCenturyBreakRange);
}

int usableNagDays(int nag)
{
    return limitTo(nag, kNagRange);
}

int usableUnimportantDay(int unimportant)
{
    const int day = unimportant % 7; // [-6, 6]
    return day < 0 ? day + 7 : day;
}

int usableZoom(int zoom)
{
    return limitTo(zoom, kZoomRange);
}

int usableColumns(int numCols)
{
    return kColumnsRange.contains(numCols) ? numCols : 1;
}

int usablePages(int numPages)
{
    return kPagesRange.contains(numPages) ? numPages : 1;
}

int usableIntervalSeconds(int interval)
{
    return limitTo(interval, kIntervalRange);
}

int usableDuration(int duration)
{
    return limitTo(duration, kDurationRange);
}

int usableAdvanceMinutes(int advance)
{
    return limitTo(advance, kAdvanceRange);
}

} // namespace dvw
