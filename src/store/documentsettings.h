#pragma once

#include "core/datetextsettings.h"
#include "core/tdate.h"

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
};

} // namespace dvw
