#include "entrycommands.h"

#include "clisettings.h"
#include "commands.h"
#include "enginecommands.h"
#include "store/entryops.h"
#include "store/tapptdocument.h"

#include <charconv>
#include <memory>
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

std::optional<std::int32_t> lineNumber(const std::string &text)
{
    std::int32_t value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < 0)
        return std::nullopt;
    return value;
}

// Loads FILE under its save lock (unless only printing), lets change act on the document
// and saves the result. change returns false when there was nothing to change.
int changeFile(const CliOptions &o, const DocumentSettings &settings, std::ostream &out,
               std::ostream &err, const std::function<bool(TApptDocument &)> &change,
               const std::function<void()> &beforeSave)
{
    const std::string &file = o.positional[0];
    TApptDocument doc(settings, file);
    std::optional<SaveLock> lock;
    if (!o.toStdout) {
        lock.emplace(LockForSave(file));
        if (!lock->held()) {
            err << "dayvane-cli: not saved: " << lock->reason() << "\n";
            return 1;
        }
    }
    const LoadLinesResult loaded = doc.LoadLines();
    if (!loaded.ok) {
        err << "dayvane-cli: " << loaded.reason << "\n";
        return 1;
    }
    if (loaded.startedNew) {
        err << "dayvane-cli: " << file << ": no such appointment file\n";
        return 1;
    }
    if (!change(doc)) {
        err << "dayvane-cli: nothing to change\n";
        return nothingToChange;
    }
    if (o.toStdout) {
        out << doc.FileBytes();
        return 0;
    }
    if (beforeSave)
        beforeSave();
    const SaveResult saved = doc.WriteLines(o.force, SystemFileOps(), &*lock);
    return reportSave(saved, file, err);
}

// done and delete: FILE LINE (DATE|--notes). The window starts at DATE unless the options
// say otherwise.
int changeEntry(const CliOptions &o, std::ostream &out, std::ostream &err,
                const std::function<bool(TApptDocument &, const EntryTarget &)> &op,
                const std::function<void()> &beforeSave)
{
    const std::size_t wanted = o.notes ? 2 : 3;
    if (o.positional.size() != wanted)
        return usageError(err, o.command + " takes FILE LINE and a DATE or --notes");
    const std::optional<std::int32_t> line = lineNumber(o.positional[1]);
    if (!line)
        return usageError(err, "LINE must be a line number from 0, not '" + o.positional[1] + "'");
    std::optional<TDate> date;
    if (!o.notes) {
        date = parseIsoDate(o.positional[2]);
        if (!date)
            return usageError(err, "DATE must be YYYY-MM-DD, not '" + o.positional[2] + "'");
    }
    const CliSettings stored = loadCliSettings(o);
    DocumentSettings settings = documentSettings(o, stored);
    if (date && !o.start)
        settings.start = *date;
    return changeFile(
        o, settings, out, err,
        [&](TApptDocument &doc) {
            doc.setViewFilters(viewFilters(o));
            doc.Rescan();
            const std::optional<EntryTarget> target = targetOfLine(doc, *line, date);
            return target && op(doc, *target);
        },
        beforeSave);
}

} // namespace

int runDone(const CliOptions &o, std::ostream &out, std::ostream &err,
            const std::function<void()> &beforeSave)
{
    return changeEntry(
        o, out, err,
        [&](TApptDocument &doc, const EntryTarget &target) {
            const EntryStatus status = ToggleDone(doc, target).status;
            if (status == EntryStatus::NagOfCycle)
                err << "dayvane-cli: a repeating line's nag cannot be marked done; change its "
                       "start date instead\n";
            return status == EntryStatus::Changed;
        },
        beforeSave);
}

int runDelete(const CliOptions &o, std::ostream &out, std::ostream &err,
              const std::function<void()> &beforeSave)
{
    if (!o.wholeCycle)
        return usageError(err, "delete needs --instance or --cycle");
    return changeEntry(
        o, out, err,
        [&](TApptDocument &doc, const EntryTarget &target) {
            return DeleteEntry(doc, target, *o.wholeCycle).status == EntryStatus::Changed;
        },
        beforeSave);
}

int runEdit(const CliOptions &o, std::ostream &out, std::ostream &err,
            const std::function<void()> &beforeSave)
{
    if (o.positional.size() != 3)
        return usageError(err, "edit takes FILE LINE TEXT");
    const std::optional<std::int32_t> line = lineNumber(o.positional[1]);
    if (!line)
        return usageError(err, "LINE must be a line number from 0, not '" + o.positional[1] + "'");
    const CliSettings stored = loadCliSettings(o);
    return changeFile(
        o, documentSettings(o, stored), out, err,
        [&](TApptDocument &doc) {
            return ReplaceEntryText(doc, *line, o.positional[2]) == EntryStatus::Changed;
        },
        beforeSave);
}

} // namespace dvw
