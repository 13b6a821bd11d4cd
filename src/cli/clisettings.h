#pragma once

#include "core/datetextsettings.h"

#include <string>

namespace dvw {

struct CliOptions;
struct Settings;

// The settings a dayvane-cli command works with: the stored ones of the chosen profile,
// each overridden by its command-line option when given, and limited for use.
struct CliSettings
{
    DateTextSettings dateText;
    int days = 365; // 1..365
    int nag = 7; // days, 0..3660
    int unimportant = 1; // 0 = Sunday ... 6 = Saturday
    bool allCategories = false;
    bool multiline = false; // MULTILINE: continued entries show all their lines
    int advance = 5; // ADVANCE: minutes an alarm sounds before its appointment, 0..1440
    std::string apptFile = "NOTES.APT";
    std::string archiveFile = "ARCHIVE.APT"; // ARCHIVEFILE
};

// Reads the settings store of the profile that --profile names (the main one when none).
// Never fails: a store that cannot be read gives the defaults.
CliSettings loadCliSettings(const CliOptions &options);
// Every stored setting of that profile, as loaded (the defaults where none is stored).
Settings loadStoredSettings(const CliOptions &options);

} // namespace dvw
