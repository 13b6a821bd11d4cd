#pragma once

#include "datewindow.h"

#include <string>

namespace dvw {

// The view filters and settings that decide which instances the engine builds.
struct EngineSettings
{
    DateWindow window;
    bool screening = false; // only lines containing screenText (ASCII case ignored)
    std::string screenText;
    int priorityLevel = 4; // lines of priority 1..4 above this level are hidden
    bool hideUnprioritized = false;
    int nagInterval = 7; // days a past date of a repeating nag line stays in the notes
    int unimportantDay = 1; // 0 = Sunday ... 6 = Saturday: the day unimportant notes show
};

} // namespace dvw
