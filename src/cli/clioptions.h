#pragma once

#include "core/datetextsettings.h"
#include "core/tdate.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dvw {

// What the command line of dayvane-cli says, before the settings store fills the gaps.
// Every optional value that is set overrides the one stored setting it names.
struct CliOptions
{
    std::string command;
    // The arguments that are no options; after "--" every argument is one.
    std::vector<std::string> positional;
    bool help = false; // --help or -h after the command

    std::optional<bool> european;
    std::optional<bool> military;
    std::optional<int> centuryBreak;
    std::optional<int> profile;

    std::optional<TDate> today;
    std::optional<TDate> start;
    std::optional<int> days;
    std::optional<int> nag;
    std::optional<int> unimportant;
    std::optional<bool> allCategories;
    std::optional<int> priorityLevel;
    bool hideUnprioritized = false;
    std::optional<std::string> screen;
    bool force = false;
    // when
    std::optional<TDate> from;
    std::optional<int> count;
    bool text = false;

    // alarms: "YYYY-MM-DDTHH:MM" moments, and the advance overriding ADVANCE.
    std::optional<std::string> at;
    std::optional<std::string> since;
    std::optional<int> advance;
    // month: the month shown (year and 1..12); --text draws it for people.
    std::optional<std::pair<int, int>> month;
    bool toStdout = false; // --stdout: print what the save would write instead of saving
    bool notes = false; // --notes: the entry in the notes section
    std::optional<bool> wholeCycle; // --cycle (true) or --instance (false)
    // sort, mark, archive
    std::optional<std::string> sortBy; // --by date|category
    bool outdated = false; // --outdated: the lines whose dates are all past
    std::optional<std::string> matching; // --matching TEXT: the lines holding TEXT
    std::optional<std::string> archiveTo; // --to TARGET
    bool keep = false; // --keep: archive without removing the lines from FILE
    // export and import of iCalendar files
    std::optional<std::string> icsOut; // export --ics OUT.ics: written there, not printed
    bool expand = false; // export --expand: every repeating line as its days in the window
    std::optional<std::string> into; // import --into FILE: the file the lines go to
    bool dryRun = false; // import --dry-run: print the lines, save nothing
};

struct CliParse
{
    CliOptions options;
    std::string error; // empty when the arguments were understood
};

// Which option groups a command accepts.
// Change: the window options of done and delete with what changing a file takes; EditLine:
// the date options with what changing a file takes; WholeFile: the date options with what
// sort, mark and archive take; Config: only the profile. Export: the window options with
// --ics and --expand; Import: the date options with --into, --dry-run and --today.
enum class OptionSet {
    Date,
    Window,
    Add,
    When,
    Alarms,
    Change,
    EditLine,
    WholeFile,
    Config,
    Export,
    Import
};

CliParse parseCliOptions(const std::vector<std::string> &args);
// "YYYY-MM-DD" as a date; nullopt for anything else, including a day the calendar lacks.
std::optional<TDate> parseIsoDate(const std::string &text);

} // namespace dvw
