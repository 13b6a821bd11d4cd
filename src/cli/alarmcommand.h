#pragma once

#include "clioptions.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace dvw {

// "YYYY-MM-DDTHH:MM" as a local day and minute; nullopt for anything else.
struct LocalMoment
{
    TDate date;
    int minute = 0; // 0..1439
};
std::optional<LocalMoment> parseLocalMoment(const std::string &text);

// `dayvane-cli alarms`: the alarms of every FILE that sound in (since, at], or in the
// minute of at alone, as JSON Lines. Returns 0 done, 1 a file could not be read, 2 bad
// arguments.
int runAlarms(const CliOptions &options, std::ostream &out, std::ostream &err);

} // namespace dvw
