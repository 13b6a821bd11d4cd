#include "clioptions.h"

#include "settings/settingkeys.h"
#include "settings/settingstable.h"

#include <cassert>
#include <charconv>
#include <map>

namespace dvw {

namespace {

OptionSet optionSetOf(const std::string &command)
{
    if (command == "read" || command == "write")
        return OptionSet::Date;
    if (command == "add")
        return OptionSet::Add;
    if (command == "when")
        return OptionSet::When;
    if (command == "alarms")
        return OptionSet::Alarms;
    if (command == "done" || command == "delete")
        return OptionSet::Change;
    if (command == "edit")
        return OptionSet::EditLine;
    if (command == "sort" || command == "mark" || command == "archive")
        return OptionSet::WholeFile;
    if (command == "export")
        return OptionSet::Export;
    if (command == "import")
        return OptionSet::Import;
    if (command == "config")
        return OptionSet::Config;
    return OptionSet::Window;
}

bool parseInt(const std::string &text, int &value)
{
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

// An option that takes an integer within [low, high].
bool takeInt(const std::string &name, const std::string &text, int low, int high,
             std::optional<int> &slot, std::string &error)
{
    int value = 0;
    if (!parseInt(text, value) || value < low || value > high) {
        error = name + " takes a whole number from " + std::to_string(low) + " to "
            + std::to_string(high) + ", not '" + text + "'";
        return false;
    }
    slot = value;
    return true;
}

// An option that overrides one stored setting takes exactly the values the setting means
// something for, as the settings table gives them.
bool takeSetting(const std::string &name, const std::string &text, const char *setting,
                 std::optional<int> &slot, std::string &error)
{
    const SettingDef *def = findSetting(setting);
    assert(def != nullptr && def->useRange);
    return takeInt(name, text, def->useRange->low, def->useRange->high, slot, error);
}

bool takeDate(const std::string &name, const std::string &text, std::optional<TDate> &slot,
              std::string &error)
{
    slot = parseIsoDate(text);
    if (!slot)
        error = name + " takes a date as YYYY-MM-DD, not '" + text + "'";
    return slot.has_value();
}

// "YYYY-MM", a year from 1 and a month 01..12.
bool takeMonth(const std::string &name, const std::string &text,
               std::optional<std::pair<int, int>> &slot, std::string &error)
{
    int y = 0, m = 0;
    if (text.size() != 7 || text[4] != '-' || !parseInt(text.substr(0, 4), y)
        || !parseInt(text.substr(5, 2), m) || y < 1 || m < 1 || m > 12) {
        error = name + " takes a month as YYYY-MM, not '" + text + "'";
        return false;
    }
    slot = std::pair {y, m};
    return true;
}

bool takesWindow(OptionSet set)
{
    return set == OptionSet::Window || set == OptionSet::Change || set == OptionSet::Export;
}

bool changesFile(OptionSet set)
{
    return set == OptionSet::Change || set == OptionSet::EditLine;
}

// sort, mark and archive: each takes only its own flags.
bool parseWholeFileFlag(CliOptions &o, const std::string &arg)
{
    const bool sort = o.command == "sort";
    const bool archive = o.command == "archive";
    if (arg == "--force" && (sort || archive))
        o.force = true;
    else if (arg == "--stdout" && sort)
        o.toStdout = true;
    else if (arg == "--outdated" && !sort)
        o.outdated = true;
    else if (arg == "--keep" && archive)
        o.keep = true;
    else
        return false;
    return true;
}

bool parseFlag(CliOptions &o, const std::string &arg, OptionSet set)
{
    if (set == OptionSet::Config)
        return false;
    if (arg == "--european" || arg == "--no-european")
        o.european = arg == "--european";
    else if (arg == "--military" || arg == "--no-military")
        o.military = arg == "--military";
    else if (takesWindow(set) && (arg == "--all-categories" || arg == "--default-categories"))
        o.allCategories = arg == "--all-categories";
    else if (takesWindow(set) && arg == "--hide-unprioritized")
        o.hideUnprioritized = true;
    else if ((set == OptionSet::Add || changesFile(set)) && arg == "--force")
        o.force = true;
    else if ((set == OptionSet::When || o.command == "month") && arg == "--text")
        o.text = true;
    else if (changesFile(set) && arg == "--stdout")
        o.toStdout = true;
    else if (set == OptionSet::Change && arg == "--notes")
        o.notes = true;
    else if (set == OptionSet::Change && (arg == "--instance" || arg == "--cycle"))
        o.wholeCycle = arg == "--cycle";
    else if (set == OptionSet::Export && arg == "--expand")
        o.expand = true;
    else if (set == OptionSet::Import && arg == "--dry-run")
        o.dryRun = true;
    else if (set == OptionSet::WholeFile)
        return parseWholeFileFlag(o, arg);
    else
        return false;
    return true;
}

// Options with a value. Returns false with error empty when the name is unknown here.
bool parseValued(CliOptions &o, const std::string &name, const std::string &value, OptionSet set,
                 std::string &error)
{
    if (name == "--profile")
        return takeInt(name, value, 0, 1000000, o.profile, error);
    if (set == OptionSet::Config)
        return false;
    if (name == "--century-break")
        return takeSetting(name, value, settingkeys::CENTURYBREAK, o.centuryBreak, error);
    if (set == OptionSet::When && name == "--from")
        return takeDate(name, value, o.from, error);
    if (set == OptionSet::When && name == "--count")
        return takeInt(name, value, 0, 100000, o.count, error);
    if (set == OptionSet::Alarms) {
        if (name == "--at")
            o.at = value;
        else if (name == "--since")
            o.since = value;
        else if (name == "--advance")
            return takeInt(name, value, 0, 1440, o.advance, error);
        else
            return false;
        return true;
    }
    if (set == OptionSet::WholeFile) {
        if (o.command == "sort" && name == "--by")
            o.sortBy = value;
        else if (o.command != "sort" && name == "--matching")
            o.matching = value;
        else if (o.command == "archive" && name == "--to")
            o.archiveTo = value;
        else if (o.command != "sort" && name == "--today")
            return takeDate(name, value, o.today, error);
        else
            return false;
        return true;
    }
    if (set == OptionSet::Import) {
        if (name == "--into")
            o.into = value;
        else if (name == "--today")
            return takeDate(name, value, o.today, error);
        else
            return false;
        return true;
    }
    if (set == OptionSet::Export && name == "--ics") {
        o.icsOut = value;
        return true;
    }
    if (!takesWindow(set))
        return false;
    if (o.command == "month" && name == "--month")
        return takeMonth(name, value, o.month, error);
    if (name == "--today")
        return takeDate(name, value, o.today, error);
    if (name == "--start")
        return takeDate(name, value, o.start, error);
    if (name == "--days")
        return takeSetting(name, value, settingkeys::DAYS, o.days, error);
    if (name == "--nag")
        return takeSetting(name, value, settingkeys::NAG, o.nag, error);
    if (name == "--unimportant")
        return takeSetting(name, value, settingkeys::UNIMPORTANT, o.unimportant, error);
    if (name == "--priority-level")
        return takeInt(name, value, 1, 4, o.priorityLevel, error);
    if (name == "--screen") {
        o.screen = value;
        return true;
    }
    return false;
}

bool takesValue(const std::string &name)
{
    static const char *const names[]
        = {"--century-break", "--profile", "--today",       "--start",
           "--days",          "--nag",     "--unimportant", "--priority-level",
           "--screen",        "--from",    "--count",       "--at",
           "--since",         "--advance", "--month",       "--by",
           "--matching",      "--to",      "--ics",         "--into"};
    for (const char *n : names) {
        if (name == n)
            return true;
    }
    return false;
}

} // namespace

std::optional<TDate> parseIsoDate(const std::string &text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    int y = 0, m = 0, d = 0;
    if (!parseInt(text.substr(0, 4), y) || !parseInt(text.substr(5, 2), m)
        || !parseInt(text.substr(8, 2), d) || y < 1)
        return std::nullopt;
    const TDate date(static_cast<std::uint32_t>(d), static_cast<std::uint32_t>(m),
                     static_cast<std::uint32_t>(y));
    if (d > 31 || !date.isValid())
        return std::nullopt;
    return date;
}

CliParse parseCliOptions(const std::vector<std::string> &args)
{
    CliParse result;
    CliOptions &o = result.options;
    if (args.empty()) {
        result.error = "no command given";
        return result;
    }
    o.command = args[0];
    const OptionSet set = optionSetOf(o.command);
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            o.help = true;
            continue;
        }
        if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            o.positional.push_back(arg);
            continue;
        }
        if (parseFlag(o, arg, set))
            continue;
        std::string name = arg, value;
        const std::size_t eq = arg.find('=');
        if (eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        } else if (takesValue(arg) && i + 1 < args.size()) {
            value = args[++i];
        } else if (takesValue(arg)) {
            result.error = arg + " needs a value";
            return result;
        }
        if (!parseValued(o, name, value, set, result.error)) {
            if (result.error.empty())
                result.error = "unknown option '" + arg + "' for '" + o.command + "'";
            return result;
        }
    }
    return result;
}

} // namespace dvw
