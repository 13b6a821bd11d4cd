#include "icalcommands.h"

#include "clisettings.h"
#include "commands.h"
#include "enginecommands.h"
#include "filecommands.h"
#include "ical/icalexport.h"
#include "ical/icalimport.h"
#include "json.h"
#include "store/fileoperations.h"
#include "store/filerules.h"
#include "store/tapptdocument.h"

#include <ostream>

namespace dvw {

namespace {

// A calendar larger than this is not read.
constexpr std::int64_t maxCalendarBytes = 256ll << 20;

int usageError(std::ostream &err, const std::string &problem)
{
    err << "dayvane-cli: " << problem << "\n";
    return 2;
}

// The lines as the file would hold them, each ended by LF: a continued text goes on in
// lines that begin with "&".
std::string fileFormOf(const std::vector<std::string> &lines)
{
    std::string out;
    for (const std::string &line : lines) {
        const std::string text = NormaliseInsertedText(line);
        for (std::size_t at = 0;;) {
            const std::size_t br = text.find("\r\n", at);
            out.append(text, at, br == std::string::npos ? std::string::npos : br - at);
            out += '\n';
            if (br == std::string::npos)
                break;
            out += '&';
            at = br + 2;
        }
    }
    return out;
}

// The file's lines and categories as the document reads them, without the day cells and
// index an export has no use for. False after telling err (exit 1).
bool loadLinesOnly(TApptDocument &doc, const std::string &file, std::ostream &err)
{
    const LoadResult loaded = LoadFile(file);
    if (loaded.status != LoadResult::Loaded) {
        err << "dayvane-cli: "
            << (loaded.status == LoadResult::Missing ? file + ": no such appointment file"
                                                     : loaded.reason)
            << "\n";
        return false;
    }
    std::vector<TimeString> &lines = doc.lineTable();
    lines.reserve(MaxFileTexts(loaded.bytes));
    ForEachFileText(loaded.bytes,
                    [&lines](std::string &&text) { lines.emplace_back(std::move(text)); });
    doc.ScanCategories();
    return true;
}

void tellNotes(const ImportResult &result, const std::string &calendar, std::ostream &err)
{
    for (const std::string &note : result.notes)
        err << "dayvane-cli: " << calendar << ": " << note << "\n";
}

std::string summaryOf(const ImportResult &result)
{
    return JsonObject()
        .addInt("imported", result.imported)
        .addInt("expanded", result.expanded)
        .addInt("skipped", result.skipped)
        .str();
}

} // namespace

int runExport(const CliOptions &o, std::ostream &out, std::ostream &err)
{
    if (o.positional.size() != 1)
        return usageError(err, "export takes one FILE");
    const std::string &file = o.positional[0];
    const CliSettings stored = loadCliSettings(o);
    // The process ends right after this command: handing the lines back one by one would
    // only cost time.
    TApptDocument &doc = *new TApptDocument(documentSettings(o, stored), file);
    if (!loadLinesOnly(doc, file, err))
        return 1;
    ExportRequest request;
    request.today = doc.window().today;
    request.first = doc.window().start;
    request.last = doc.window().end;
    request.listed = o.expand;
    const std::string calendar = ExportCalendar(doc, request);
    if (!o.icsOut) {
        out << calendar;
        return 0;
    }
    const std::string &target = *o.icsOut;
    if (const std::string refusal = RefusedTarget(target, ProtectedFilesOf({file}));
        !refusal.empty()) {
        err << "dayvane-cli: " << target << ": " << refusal << "\n";
        return 1;
    }
    const SaveResult saved = SaveFileAtomically(target, calendar, CurrentIdentity(target), false,
                                                SystemFileOps(), nullptr, Backup::None);
    if (!saved.ok) {
        err << "dayvane-cli: not written: " << saved.reason << "\n";
        return 1;
    }
    if (!saved.warning.empty())
        err << "dayvane-cli: warning: " << saved.warning << "\n";
    return 0;
}

int runImport(const CliOptions &o, std::ostream &out, std::ostream &err,
              const std::function<void()> &beforeSave)
{
    if (o.positional.size() != 1)
        return usageError(err, "import takes one CAL.ics");
    const std::string &calendar = o.positional[0];
    const LoadResult text = LoadFile(calendar);
    if (text.status != LoadResult::Loaded)
        return usageError(err,
                          text.status == LoadResult::Missing
                              ? calendar + ": no such calendar file"
                              : "cannot read the calendar: " + text.reason);
    if (text.identity.size > maxCalendarBytes)
        return usageError(err, calendar + ": a calendar larger than 256 MB is not read");
    const CliSettings stored = loadCliSettings(o);
    const std::string file = o.into.value_or(stored.apptFile);
    ImportRequest request;
    request.dateText = stored.dateText;
    request.today = o.today.value_or(systemDate());
    TApptDocument doc(documentSettings(o, stored), file);
    std::optional<SaveLock> lock;
    if (o.dryRun) {
        if (doc.LoadLines().ok) // the file's categories, where it has any
            request.categories = ImportCategoriesOf(doc);
    } else {
        if (!(lock = lockFile(file, err)) || !loadExisting(doc, file, err))
            return 1;
        request.categories = ImportCategoriesOf(doc);
    }
    const ImportResult result = ImportCalendar(text.bytes, request);
    if (!result.ok)
        return usageError(err, calendar + ": " + result.error);
    tellNotes(result, calendar, err);
    if (o.dryRun) {
        out << fileFormOf(result.lines);
        err << "dayvane-cli: " << summaryOf(result) << "\n";
        return 0;
    }
    if (!result.lines.empty()) {
        doc.AppendLines(result.lines);
        if (beforeSave)
            beforeSave();
        if (const int status
            = reportSave(doc.WriteLines(false, SystemFileOps(), &*lock), file, err))
            return status;
    }
    out << summaryOf(result) << "\n";
    return 0;
}

} // namespace dvw
