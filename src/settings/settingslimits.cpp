#include "settingslimits.h"

#include <algorithm>

namespace dvw {

int limitForUse(int value, int low, int high)
{
    return std::clamp(value, low, high);
}

int usableDays(int days)
{
    return limitForUse(days, 1, 365);
}

int usableCenturyBreak(int centuryBreak)
{
    return limitForUse(centuryBreak, 0, 100);
}

int usableNagDays(int nag)
{
    // Ten years is beyond any sensible nag and keeps date arithmetic far from overflow.
    return limitForUse(nag, 0, 3660);
}

int usableUnimportantDay(int unimportant)
{
    const int day = unimportant % 7; // [-6, 6]
    return day < 0 ? day + 7 : day;
}

int usableZoom(int zoom)
{
    return limitForUse(zoom, 25, 400);
}

int usableColumns(int numCols)
{
    return numCols >= 1 && numCols <= 4 ? numCols : 1;
}

int usablePages(int numPages)
{
    return numPages >= 1 && numPages <= 100 ? numPages : 1;
}

int usableIntervalSeconds(int interval)
{
    return limitForUse(interval, 1, 3600);
}

int usableDuration(int duration)
{
    return limitForUse(duration, 0, 3600);
}

int usableAdvanceMinutes(int advance)
{
    return limitForUse(advance, 0, 1440);
}

} // namespace dvw
