#include "filecommands.h"

#include "clisettings.h"
#include "commands.h"
#include "enginecommands.h"
#include "json.h"
#include "store/fileoperations.h"
#include "store/tapptdocument.h"

#include <optional>
#include <ostream>

namespace dvw {

namespace {

constexpr int nothingToChange = 4;

int usageError(std::ostream &err, const std::string &problem)
{
    err << "dayvane-cli: " << problem << "\n";
    return 2;
}

// mark and archive: FILE and exactly one of --outdated and --matching TEXT.
std::string selectionProblem(const CliOptions &o)
{
    if (o.positional.size() != 1)
        return o.command + " takes one FILE";
    if (o.outdated == o.matching.has_value())
        return o.command + " needs either --outdated or --matching TEXT";
    return {};
}

int markSelected(TApptDocument &doc, const CliOptions &o, TDate today)
{
    return o.outdated ? MarkOutdated(doc, today) : MarkMatching(doc, *o.matching);
}

} // namespace

bool loadExisting(TApptDocument &doc, const std::string &file, std::ostream &err)
{
    const LoadLinesResult loaded = doc.LoadLines();
    if (!loaded.ok) {
        err << "dayvane-cli: " << loaded.reason << "\n";
        return false;
    }
    if (loaded.startedNew) {
        err << "dayvane-cli: " << file << ": no such appointment file\n";
        return false;
    }
    return true;
}

std::optional<SaveLock> lockFile(const std::string &file, std::ostream &err)
{
    SaveLock lock = LockForSave(file);
    if (!lock.held()) {
        err << "dayvane-cli: not saved: " << lock.reason() << "\n";
        return std::nullopt;
    }
    return lock;
}

int runSort(const CliOptions &o, std::ostream &out, std::ostream &err,
            const std::function<void()> &beforeSave)
{
    if (o.positional.size() != 1)
        return usageError(err, "sort takes one FILE");
    if (!o.sortBy || (*o.sortBy != "date" && *o.sortBy != "category"))
        return usageError(err, "sort needs --by date or --by category");
    const std::string &file = o.positional[0];
    const CliSettings stored = loadCliSettings(o);
    TApptDocument doc(documentSettings(o, stored), file);
    std::optional<SaveLock> lock;
    if (!o.toStdout && !(lock = lockFile(file, err)))
        return 1;
    if (!loadExisting(doc, file, err))
        return 1;
    doc.SortLines(*o.sortBy == "date" ? SortMode::ByDate : SortMode::ByCategory);
    if (o.toStdout) {
        out << doc.FileBytes();
        return 0;
    }
    if (beforeSave)
        beforeSave();
    return reportSave(doc.WriteLines(o.force, SystemFileOps(), &*lock), file, err);
}

int runMark(const CliOptions &o, std::ostream &out, std::ostream &err)
{
    if (const std::string problem = selectionProblem(o); !problem.empty())
        return usageError(err, problem);
    const std::string &file = o.positional[0];
    const CliSettings stored = loadCliSettings(o);
    const DocumentSettings settings = documentSettings(o, stored);
    TApptDocument doc(settings, file);
    if (!loadExisting(doc, file, err))
        return 1;
    if (markSelected(doc, o, settings.today) == 0) {
        err << "dayvane-cli: no line is marked\n";
        return nothingToChange;
    }
    for (const std::int32_t line : MarkedLines(doc))
        out << JsonObject().addInt("line", line).str() << "\n";
    return 0;
}

int runArchive(const CliOptions &o, std::ostream &out, std::ostream &err,
               const std::function<void()> &beforeSave)
{
    if (const std::string problem = selectionProblem(o); !problem.empty())
        return usageError(err, problem);
    const std::string &file = o.positional[0];
    const CliSettings stored = loadCliSettings(o);
    const DocumentSettings settings = documentSettings(o, stored);
    const std::string target = o.archiveTo ? *o.archiveTo : ArchivePath(file, stored.archiveFile);
    TApptDocument doc(settings, file);
    std::optional<SaveLock> lock;
    if (!o.keep && !(lock = lockFile(file, err)))
        return 1;
    if (!loadExisting(doc, file, err))
        return 1;
    if (const std::string refusal = RefusedTarget(target, ProtectedFilesOf({file}));
        !refusal.empty()) {
        err << "dayvane-cli: " << target << ": " << refusal << "\n";
        return 1;
    }
    if (markSelected(doc, o, settings.today) == 0) {
        err << "dayvane-cli: no line is marked; nothing archived\n";
        return nothingToChange;
    }
    const CopyMarkedResult copied = AppendMarkedTo(doc, target, ProtectedFilesOf({file}));
    if (!copied.ok) {
        err << "dayvane-cli: not archived: " << copied.reason << "\n";
        return 1;
    }
    if (!copied.warning.empty())
        err << "dayvane-cli: warning: " << copied.warning << "\n";
    out << JsonObject().addInt("archived", copied.written).addString("to", copied.target).str()
        << "\n";
    if (o.keep)
        return 0;
    doc.RemoveMarkedLines();
    if (beforeSave)
        beforeSave();
    return reportSave(doc.WriteLines(o.force, SystemFileOps(), &*lock), file, err);
}

} // namespace dvw
