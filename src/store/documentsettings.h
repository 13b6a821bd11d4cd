#pragma once

#include "core/datetextsettings.h"
#include "core/tdate.h"

#include <string>

namespace dvw {

// The application settings a document copies when it is created.
struct DocumentSettings
{
    DateTextSettings dateText;
    bool allCategories = false; // ALLCATEGORIES: show every category, not only lines without one
    int unimportant = 0; // UNIMPORTANT: the weekday (0 = Sunday) unimportant notes show on
    TDate today;
    TDate start;
    int days = 1; // DAYS, 1..365
    int nag = 7; // NAG: days a past date of a repeating nag line stays in the notes
};

// The application's view filters, which every document's engine applies.
struct ViewFilters
{
    std::string searchText; // Find/Next: at most 99 characters, ASCII case ignored
    bool screening = false; // only lines containing screenText (ASCII case ignored)
    std::string screenText;
    int priorityLevel = 4; // lines of priority 1..4 above this level are hidden
    bool hideUnprioritized = false;
};

} // namespace dvw
