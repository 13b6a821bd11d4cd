#pragma once

namespace dvw {

// The three user settings that steer how dates and times are written and read.
struct DateTextSettings
{
    bool european = false; // day/month/year order instead of month/day/year
    bool military = false; // accept four-digit times such as 1430
    int centuryBreak = 20; // two-digit years below it are 20yy, the others 19yy
};

} // namespace dvw
