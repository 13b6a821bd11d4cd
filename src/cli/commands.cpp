#include "commands.h"

#include "alarmcommand.h"
#include "clioptions.h"
#include "clisettings.h"
#include "configcommand.h"
#include "core/linereader.h"
#include "core/linewriter.h"
#include "enginecommands.h"
#include "entrycommands.h"
#include "filecommands.h"
#include "icalcommands.h"
#include "json.h"
#include "settings/settingsstore.h"
#include "store/tapptdocument.h"
#include "whencommand.h"

#include <ctime>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>

namespace dvw {

namespace {

const char usageText[]
    = "usage: dayvane-cli COMMAND [OPTIONS] [--] [ARGUMENTS]\n"
      "       dayvane-cli --help | -h | help [COMMAND] | --version\n"
      "commands:\n"
      "  read  [DATE OPTIONS] < lines   decode each line, one JSON object per line\n"
      "  add   FILE TEXT [--force]      append TEXT as a new line and save\n"
      "  write [DATE OPTIONS] < lines   normalise each line through the line writer\n"
      "  index     FILE [WINDOW OPTIONS]     the display index, JSON Lines\n"
      "  instances FILE [WINDOW OPTIONS]     notes, lead-in and day cells, JSON Lines\n"
      "  agenda    [FILE] [WINDOW OPTIONS]   the day-by-day list as text\n"
      "  when  TEXT [--from YYYY-MM-DD] [--count N] [--text] [DATE OPTIONS]\n"
      "                                 the days TEXT shows on in ten years, JSON Lines\n"
      "  alarms FILE... --at YYYY-MM-DDTHH:MM [--since YYYY-MM-DDTHH:MM] [--advance N]\n"
      "         [DATE OPTIONS]               the alarms due in (since, at], JSON Lines\n"
      "  month     FILE --month YYYY-MM [WINDOW OPTIONS] [--text]\n"
      "                                      the calendar's month: its days and their\n"
      "                                      entries, JSON Lines (--text: drawn)\n"
      "  done   FILE LINE (DATE|--notes) [WINDOW OPTIONS] [--force] [--stdout]\n"
      "         mark the line's entry on DATE (or in the notes) done or undone\n"
      "  delete FILE LINE (DATE|--notes) (--instance|--cycle) [WINDOW OPTIONS] [--force]\n"
      "         [--stdout]   delete the entry: that instance only, or the whole line\n"
      "  edit   FILE LINE TEXT [DATE OPTIONS] [--force] [--stdout]\n"
      "         replace the line's text (an empty TEXT deletes it)\n"
      "  sort   FILE --by date|category [DATE OPTIONS] [--force] [--stdout]\n"
      "         sort the whole file and save it\n"
      "  mark   FILE (--outdated|--matching TEXT) [--today YYYY-MM-DD] [DATE OPTIONS]\n"
      "         the lines the file view would mark, JSON Lines\n"
      "  archive FILE (--outdated|--matching TEXT) [--to TARGET] [--keep]\n"
      "         [--today YYYY-MM-DD] [DATE OPTIONS] [--force]\n"
      "         append the marked lines to TARGET (default ARCHIVEFILE beside FILE),\n"
      "         then remove them from FILE unless --keep\n"
      "  export FILE [--ics OUT.ics] [--expand] [WINDOW OPTIONS]\n"
      "         every line of FILE as an iCalendar (RFC 5545) calendar, on standard output\n"
      "         or written to OUT.ics; a rule iCalendar cannot state (every rule with\n"
      "         --expand) goes as its days in the window\n"
      "  import CAL.ics [--into FILE] [--dry-run] [--today YYYY-MM-DD] [DATE OPTIONS]\n"
      "         append the calendar's events, to-dos and carried lines to FILE (default\n"
      "         APPTFILE) and save it; --dry-run prints the lines and saves nothing\n"
      "  config list | get NAME | set NAME VALUE | toggle NAME [--profile N]\n"
      "         the settings: list or get NAME=value (the stored text or the default);\n"
      "         set or toggle one as the Configure menu does and print NAME=stored text\n"
      "         (exit 1 not written, 2 unknown NAME or unreadable VALUE, 3 out of range)\n"
      "exit status of done, delete, edit, sort, archive: 0 saved, 1 not saved, 2 bad\n"
      "         arguments, 3 changed on disk, 4 nothing to change (mark: nothing marked);\n"
      "         --stdout prints the file instead of saving\n"
      "exit status of export and import: 0 done, 1 a file not read or not written, 2 bad\n"
      "         arguments or a calendar that cannot be read, 3 (import) changed on disk\n"
      "DATE OPTIONS: --european | --no-european, --military | --no-military,\n"
      "              --century-break N, --profile N\n"
      "WINDOW OPTIONS: DATE OPTIONS, --today YYYY-MM-DD, --start YYYY-MM-DD, --days N,\n"
      "              --nag N, --unimportant N, --all-categories | --default-categories,\n"
      "              --priority-level N, --hide-unprioritized, --screen TEXT\n"
      "--help, -h: this text; --version: the version; \"--\" ends the options, so a TEXT\n"
      "may start with \"-\".\n";

// A bad argument: exit status 2. The caller prints the usage once, after the problem.
int badArguments(std::ostream &err, const std::string &problem)
{
    err << "dayvane-cli: " << problem << "\n";
    return 2;
}

// --help, -h, "help [COMMAND]" and --version answer on standard output; nullopt for any
// other command line.
std::optional<int> runInformation(const std::vector<std::string> &args, std::ostream &out)
{
    if (args.empty())
        return std::nullopt;
    const std::string &first = args[0];
    if (first == "--version") {
        out << "dayvane-cli " << DVW_VERSION << "\n";
        return 0;
    }
    if (first == "--help" || first == "-h" || first == "help") {
        out << usageText;
        return 0;
    }
    return std::nullopt;
}

// The stored date settings of the chosen profile, overridden by the options.
DateTextSettings dateSettingsOf(const CliOptions &o)
{
    return loadCliSettings(o).dateText;
}

std::string weekdaysJson(const ApptInfo &info)
{
    std::string json = "[";
    for (std::size_t d = 0; d < info.weekdays.size(); ++d) {
        if (d > 0)
            json += ',';
        json += info.weekdays[d] ? "true" : "false";
    }
    return json + "]";
}

std::string datesJson(const DateList &list)
{
    std::string json = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0)
            json += ',';
        json += jsonDate(list[i]);
    }
    return json + "]";
}

std::string lineJson(const TimeString &line)
{
    return JsonObject()
        .addInt("textStart", line.textStart)
        .addInt("time", line.time)
        .addInt("alarmAdvance", line.alarmAdvance)
        .addInt("shade", line.shade)
        .addInt("category", line.category)
        .addDate("birthDate", line.birthDate)
        .addBool("noPrint", line.noPrint)
        .addBool("holiday", line.holiday)
        .addInt("kind", line.kind)
        .addInt("sortKey", line.sortKey)
        .str();
}

std::string infoJson(const ApptInfo &info)
{
    return JsonObject()
        .addBool("completed", info.completed)
        .addInt("kind", info.kind)
        .addInt("scheduleStart", info.scheduleStart)
        .addInt("scheduleEnd", info.scheduleEnd)
        .addBool("hasStart", info.hasStart)
        .addDate("startDate", info.startDate)
        .addBool("hasEnd", info.hasEnd)
        .addDate("endDate", info.endDate)
        .addDate("mainDate", info.mainDate)
        .addInt("n", info.n)
        .addInt("month", info.month)
        .addInt("weekday", info.weekday)
        .addInt("offset", info.offset)
        .addInt("showFollowing", info.showFollowing)
        .addInt("warnDays", info.warnDays)
        .addBool("holiday", info.holiday)
        .addBool("markL", info.markL)
        .addBool("nag", info.nag)
        .addBool("unimportant", info.unimportant)
        .addBool("hasExcluded", info.hasExcluded)
        .addBool("done", info.done)
        .addBool("observed", info.observed)
        .addBool("weekdaysOnly", info.weekdaysOnly)
        .addInt("priority", info.priority)
        .addBool("noPrint", info.noPrint)
        .addInt("category", info.category)
        .addInt("time", info.time)
        .addInt("alarmAdvance", info.alarmAdvance)
        .addRaw("weekdays", weekdaysJson(info))
        .str();
}

// Standard input as the lines of one document with its categories scanned, so that each
// line is read with the colour its category gives it, as in the desktop program.
std::unique_ptr<TApptDocument> inputDocument(const CliOptions &o, std::istream &in)
{
    DocumentSettings settings;
    settings.dateText = dateSettingsOf(o);
    auto doc = std::make_unique<TApptDocument>(settings);
    for (std::string &text : readInputLines(in))
        doc->lineTable().emplace_back(std::move(text));
    doc->ScanCategories();
    return doc;
}

int runRead(const CliOptions &o, std::istream &in, std::ostream &out)
{
    const auto input = inputDocument(o, in);
    TApptDocument &doc = *input;
    for (TimeString &line : doc.lineTable()) {
        ApptInfo info;
        LineDates dates;
        ReadAppt(info, doc, line, dates);
        out << JsonObject()
                   .addRaw("line", lineJson(line))
                   .addRaw("info", infoJson(info))
                   .addRaw("doneDates", datesJson(dates.done))
                   .addRaw("excludedDates", datesJson(dates.excluded))
                   .str()
            << '\n';
    }
    return 0;
}

// The local calendar day of the system clock.
TDate addCommandToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    if (localtime_r(&now, &local) == nullptr)
        return {};
    return TDate(static_cast<std::uint32_t>(local.tm_mday),
                 static_cast<std::uint32_t>(local.tm_mon + 1),
                 static_cast<std::uint32_t>(local.tm_year + 1900));
}

int runAdd(const CliOptions &o, std::ostream &err)
{
    if (o.positional.size() != 2)
        return badArguments(err, "add takes a FILE and a TEXT");
    if (o.positional[1].empty())
        return badArguments(err, "add needs a TEXT that is not empty");
    return runAddCommand(o.positional[0], o.positional[1], o.force, dateSettingsOf(o), err);
}

// A category definition line is never rewritten: it passes unchanged.
int runWrite(const CliOptions &o, std::istream &in, std::ostream &out)
{
    const auto input = inputDocument(o, in);
    TApptDocument &doc = *input;
    for (TimeString &line : doc.lineTable()) {
        ApptInfo info;
        LineDates dates;
        ReadAppt(info, doc, line, dates);
        WriteAppt(info, dates, doc, line);
        out << line.text << '\n';
    }
    return 0;
}

} // namespace

int runAddCommand(const std::string &file, const std::string &text, bool force,
                  const DateTextSettings &dateSettings, std::ostream &err,
                  const std::function<void()> &beforeSave)
{
    DocumentSettings settings;
    settings.dateText = dateSettings;
    settings.today = addCommandToday();
    settings.start = settings.today;
    TApptDocument doc(settings, file);
    // Held from before the file is read until the new version is in place, so adds that
    // run at the same time queue up and every one of them lands.
    const SaveLock lock = LockForSave(file);
    if (!lock.held()) {
        err << "dayvane-cli: not saved: " << lock.reason() << "\n";
        return 1;
    }
    const LoadLinesResult loaded = doc.LoadLines();
    if (!loaded.ok) {
        err << "dayvane-cli: not saved: " << loaded.reason << "\n"; // the reason names the path
        return 1;
    }
    doc.AppendLine(text);
    if (beforeSave)
        beforeSave();
    const SaveResult saved = doc.WriteLines(force, SystemFileOps(), &lock);
    return reportSave(saved, file, err);
}

int reportSave(const SaveResult &saved, const std::string &file, std::ostream &err)
{
    if (saved.ok) {
        if (!saved.warning.empty())
            err << "dayvane-cli: warning: " << saved.warning << "\n";
        return 0;
    }
    if (saved.changedOnDisk) {
        err << "dayvane-cli: " << file
            << ": not saved: the file changed on disk since it was read (--force saves anyway)\n";
        return 3;
    }
    err << "dayvane-cli: not saved: " << saved.reason << "\n";
    return 1;
}

std::vector<std::string> readInputLines(std::istream &in)
{
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < all.size()) {
        std::size_t end = all.find('\n', begin);
        const bool ended = end != std::string::npos;
        if (!ended)
            end = all.size();
        std::size_t stop = end;
        if (ended && stop > begin && all[stop - 1] == '\r')
            --stop;
        lines.emplace_back(all, begin, stop - begin);
        begin = ended ? end + 1 : end;
    }
    return lines;
}

namespace {

int runCommand(const CliOptions &o, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (o.command == "read") {
        if (!o.positional.empty())
            return badArguments(err, "read takes no file; it reads standard input");
        return runRead(o, in, out);
    }
    if (o.command == "add")
        return runAdd(o, err);
    if (o.command == "write") {
        if (!o.positional.empty())
            return badArguments(err, "write takes no file; it reads standard input");
        return runWrite(o, in, out);
    }
    if (o.command == "index")
        return runIndex(o, out, err);
    if (o.command == "instances")
        return runInstances(o, out, err);
    if (o.command == "agenda")
        return runAgenda(o, out, err);
    if (o.command == "when")
        return runWhen(o, out, err);
    if (o.command == "alarms")
        return runAlarms(o, out, err);
    if (o.command == "month")
        return runMonth(o, out, err);
    if (o.command == "done")
        return runDone(o, out, err);
    if (o.command == "delete")
        return runDelete(o, out, err);
    if (o.command == "edit")
        return runEdit(o, out, err);
    if (o.command == "sort")
        return runSort(o, out, err);
    if (o.command == "mark")
        return runMark(o, out, err);
    if (o.command == "archive")
        return runArchive(o, out, err);
    if (o.command == "export")
        return runExport(o, out, err);
    if (o.command == "import")
        return runImport(o, out, err);
    if (o.command == "config")
        return runConfig(o, out, err);
    return badArguments(err, "unknown command '" + o.command + "'");
}

// A settings file that is ignored (a FIFO, a device, a huge file) is worth one line.
void warnAboutIgnoredSettings(const CliOptions &o, std::ostream &err)
{
    SettingsStore store(o.profile);
    store.open();
    store.close();
    if (!store.ignoredReason().empty())
        err << "dayvane-cli: " << store.ignoredReason() << "\n";
}

} // namespace

int runCli(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
           std::ostream &err)
{
    if (const std::optional<int> status = runInformation(args, out))
        return out.flush() ? *status : 1;
    const CliParse parse = parseCliOptions(args);
    int status = 2;
    if (!parse.error.empty()) {
        badArguments(err, parse.error);
    } else if (parse.options.help) {
        out << usageText;
        status = 0;
    } else {
        warnAboutIgnoredSettings(parse.options, err);
        status = runCommand(parse.options, in, out, err);
    }
    if (status == 2)
        err << usageText;
    out.flush();
    if (!out) {
        err << "dayvane-cli: could not write the output\n";
        return 1;
    }
    return status;
}

} // namespace dvw
