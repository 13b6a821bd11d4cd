#include "entryops.h"

#include "core/datetext.h"
#include "core/linereader.h"
#include "core/linewriter.h"
#include "filerules.h"

#include <algorithm>

namespace dvw {

namespace {

bool sameDate(const TDate &a, const TDate &b)
{
    return a.dayNumber == b.dayNumber && a.flags == b.flags;
}

// The cell holding the instances of this date, null outside the window's cells.
const std::vector<Appt> *cellOf(const TApptDocument &doc, const TDate &date)
{
    const DateWindow &w = doc.window();
    const std::uint32_t day = date.dayNumber;
    if (day >= w.start.dayNumber && day <= w.end.dayNumber)
        return &doc.engine().dayCell(static_cast<int>(date.Month()),
                                     static_cast<int>(date.DayOfMonth()));
    if (day >= w.leadInStart.dayNumber && day < w.start.dayNumber)
        return &doc.engine().leadInCell(static_cast<int>(date.DayOfMonth()));
    return nullptr;
}

const Appt *findInstance(const TApptDocument &doc, const EntryTarget &target)
{
    const std::vector<Appt> *cell
        = target.inNotes ? &doc.engine().notes() : cellOf(doc, target.date);
    if (cell == nullptr)
        return nullptr;
    for (const Appt &appt : *cell) {
        if (appt.line == target.line && appt.date.dayNumber == target.date.dayNumber)
            return &appt;
    }
    return nullptr;
}

bool isSelectable(const IndexTy &entry)
{
    return entry.kind == DatedEntry || entry.kind == NoteEntry;
}

// The display position of the target's entry, -1 when it is not shown.
std::int32_t positionOf(const TApptDocument &doc, const EntryTarget &target)
{
    const std::vector<IndexTy> &index = doc.engine().index();
    std::uint8_t block = 0;
    bool blockMatches = false;
    for (std::size_t i = 0; i < index.size(); ++i) {
        const IndexTy &entry = index[i];
        if (entry.kind == DateHeading || entry.kind == NotesHeading) {
            block = entry.kind;
            blockMatches = target.inNotes ? entry.kind == NotesHeading
                                          : entry.kind == DateHeading
                    && entry.month == target.date.Month() && entry.day == target.date.DayOfMonth();
        } else if (blockMatches && isSelectable(entry) && entry.value == target.line
                   && (block == NotesHeading) == target.inNotes) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

// The selectable line at or before `position` (after it when there is none before).
std::int32_t selectableNear(const TApptDocument &doc, std::int32_t position)
{
    const std::vector<IndexTy> &index = doc.engine().index();
    if (index.empty())
        return -1;
    const auto last = static_cast<std::int32_t>(index.size()) - 1;
    for (std::int32_t i = std::min(position, last); i >= 0; --i) {
        if (isSelectable(index[static_cast<std::size_t>(i)]))
            return i;
    }
    for (std::int32_t i = std::max(position, 0); i <= last; ++i) {
        if (isSelectable(index[static_cast<std::size_t>(i)]))
            return i;
    }
    return std::min(std::int32_t {1}, last);
}

struct Reading
{
    ApptInfo info;
    LineDates dates;
    std::string freeText;
    std::int32_t kind = Unscheduled;
};

Reading readText(TApptDocument &doc, const std::string &text)
{
    Reading r;
    TimeString appt(text);
    ReadAppt(r.info, doc, appt, r.dates);
    r.freeText = appt.text.substr(
        std::min(static_cast<std::size_t>(std::max(appt.textStart, 0)), appt.text.size()));
    r.kind = appt.kind;
    return r;
}

// Which of the flags a change is allowed to alter.
struct Allowed
{
    bool done = false;
    bool excluded = false;
    bool nag = false;
    bool completed = false;
};

// True when two readings mean the same appointment apart from what the change may alter.
bool sameMeaning(const Reading &a, const Reading &b, Allowed allowed)
{
    const ApptInfo &x = a.info;
    const ApptInfo &y = b.info;
    return a.kind == b.kind && x.kind == y.kind && a.freeText == b.freeText
        && x.hasStart == y.hasStart && sameDate(x.startDate, y.startDate) && x.hasEnd == y.hasEnd
        && sameDate(x.endDate, y.endDate) && sameDate(x.mainDate, y.mainDate) && x.n == y.n
        && x.month == y.month && x.weekday == y.weekday && x.offset == y.offset
        && x.showFollowing == y.showFollowing && x.warnDays == y.warnDays && x.holiday == y.holiday
        && x.markL == y.markL && x.unimportant == y.unimportant && x.observed == y.observed
        && x.weekdaysOnly == y.weekdaysOnly && x.priority == y.priority && x.noPrint == y.noPrint
        && x.category == y.category && x.time == y.time && x.alarmAdvance == y.alarmAdvance
        && x.weekdays == y.weekdays && (allowed.completed || x.completed == y.completed)
        && (allowed.nag || x.nag == y.nag)
        && (allowed.done || (x.done == y.done && a.dates.done.dates() == b.dates.done.dates()))
        && (allowed.excluded
            || (x.hasExcluded == y.hasExcluded
                && a.dates.excluded.dates() == b.dates.excluded.dates()));
}

std::vector<TDate> withoutFirst(std::vector<TDate> dates, const TDate &date)
{
    const auto it = std::find_if(dates.begin(), dates.end(),
                                 [&](const TDate &d) { return d.dayNumber == date.dayNumber; });
    if (it != dates.end())
        dates.erase(it);
    return dates;
}

// A code put at the front of the text, behind a leading ">" so a completed line keeps
// its schedule. Empty when the line would read differently in any other way.
std::string withDateCode(TApptDocument &doc, const std::string &text, char letter,
                         const TDate &date)
{
    const Reading before = readText(doc, text);
    std::string changed = text;
    const std::size_t at = changed.starts_with('>') ? 1 : 0;
    std::string code = std::string("\\") + letter + FormatDate(date, doc.dateSettings());
    if (!code.ends_with(' '))
        code += ' ';
    changed.insert(at, code);
    const Reading after = readText(doc, changed);
    const bool isDone = letter == 'D';
    const std::vector<TDate> &gained
        = isDone ? after.dates.done.dates() : after.dates.excluded.dates();
    const std::vector<TDate> &had
        = isDone ? before.dates.done.dates() : before.dates.excluded.dates();
    if (gained.size() != had.size() + 1 || withoutFirst(gained, date) != had)
        return {};
    return sameMeaning(before, after, Allowed {isDone, !isDone, false, false}) ? changed
                                                                               : std::string();
}

// Removes the span [from, to) of a code; when that changes how the rest reads, an inert
// "\()" takes its place. Empty when neither keeps the rest as it was.
std::string withoutCode(TApptDocument &doc, const std::string &text, std::size_t from,
                        std::size_t to, const Reading &expected, Allowed allowed)
{
    for (const char *filler : {"", "\\()"}) {
        std::string changed = text;
        changed.replace(from, to - from, filler);
        if (sameMeaning(readText(doc, changed), expected, allowed))
            return changed;
    }
    return {};
}

std::string withoutDoneDate(TApptDocument &doc, const std::string &text, const TDate &date)
{
    ApptInfo info;
    SetTarget(info, date);
    TimeString appt(text);
    LineDates dates;
    ReadAppt(info, doc, appt, dates);
    if (info.doneTargetEnd == 0)
        return {};
    Reading expected = readText(doc, text);
    expected.dates.done = DateList();
    for (const TDate &d : withoutFirst(dates.done.dates(), date))
        expected.dates.done.insert(d);
    std::string changed = withoutCode(doc, text, static_cast<std::size_t>(info.doneTargetStart),
                                      static_cast<std::size_t>(info.doneTargetEnd), expected,
                                      Allowed {true, false, false, false});
    if (changed.empty())
        return {};
    const Reading after = readText(doc, changed);
    return after.dates.done.dates() == expected.dates.done.dates() ? changed : std::string();
}

std::string withoutNag(TApptDocument &doc, const std::string &text)
{
    ApptInfo info;
    TimeString appt(text);
    ReadAppt(info, doc, appt);
    if (info.nagEnd == 0)
        return {};
    const Reading expected = readText(doc, text);
    return withoutCode(doc, text, static_cast<std::size_t>(info.nagStart),
                       static_cast<std::size_t>(info.nagEnd), expected,
                       Allowed {false, false, true, false});
}

std::string toggledCompleted(TApptDocument &doc, const std::string &text)
{
    std::string changed = text;
    if (changed.starts_with('>'))
        changed.erase(0, 1);
    else
        changed.insert(0, 1, '>');
    const Reading before = readText(doc, text);
    const Reading after = readText(doc, changed);
    if (after.info.completed == before.info.completed
        || !sameMeaning(before, after, Allowed {false, false, false, true}))
        return {};
    return changed;
}

bool repeats(std::int32_t kind)
{
    return kind == MonthlyInYear || (kind >= SingleShowFollowing && kind <= NthWeekdayOfMonth);
}

// Puts the new text into the line, marks the document changed and rebuilds.
void replaceLine(TApptDocument &doc, const EntryTarget &target, std::string text)
{
    doc.lineTable()[static_cast<std::size_t>(target.line)].text = std::move(text);
    doc.setChanged(true);
    doc.Rescan();
}

// The one line a clipboard text stands for: up to its first NUL (the clipboard's end
// mark), without the line breaks that end it.
std::string clipboardLine(std::string_view clipboard)
{
    std::string_view text = clipboard.substr(0, clipboard.find('\0'));
    while (text.ends_with('\n') || text.ends_with("\r\n"))
        text.remove_suffix(text.ends_with("\r\n") ? 2 : 1);
    return std::string(text);
}

// A fresh line of this kind (on the date, for a single appointment) in front of the text's
// free text from `textStart` on.
std::string composedOn(TApptDocument &doc, const std::string &text, std::int32_t textStart,
                       std::int32_t kind, const TDate &date)
{
    ApptInfo composed;
    composed.kind = kind;
    if (kind == Single)
        composed.mainDate = date;
    TimeString appt(text);
    appt.textStart = std::clamp(textStart, 0, static_cast<std::int32_t>(text.size()));
    WriteAppt(composed, LineDates(), doc, appt);
    return appt.text;
}

EntryOutcome outcomeOf(EntryStatus status)
{
    EntryOutcome outcome;
    outcome.status = status;
    return outcome;
}

} // namespace

std::optional<EntryTarget> targetAtPosition(const TApptDocument &doc, std::int32_t position)
{
    const std::vector<IndexTy> &index = doc.engine().index();
    if (position < 0 || static_cast<std::size_t>(position) >= index.size())
        return std::nullopt;
    const IndexTy &entry = index[static_cast<std::size_t>(position)];
    if (!isSelectable(entry) || entry.value < 0
        || static_cast<std::size_t>(entry.value) >= doc.lines().size())
        return std::nullopt;
    EntryTarget target;
    target.line = entry.value;
    target.text = doc.lines()[static_cast<std::size_t>(entry.value)].text;
    target.position = position;
    // The heading above the entry says which block it is in.
    for (std::int32_t i = position - 1; i >= 0; --i) {
        const IndexTy &above = index[static_cast<std::size_t>(i)];
        if (above.kind == NotesHeading) {
            target.inNotes = true;
            break;
        }
        if (above.kind == DateHeading) {
            // The window holds each month and day once: the year is the one in the window.
            const DateWindow &w = doc.window();
            for (std::uint32_t day = w.start.dayNumber; day <= w.end.dayNumber; ++day) {
                const TDate date = TDate::fromDayNumber(day);
                if (date.Month() == above.month && date.DayOfMonth() == above.day) {
                    target.date = date;
                    break;
                }
            }
            break;
        }
    }
    if (target.inNotes) {
        // The notes entry of this line that is shown here: the n-th of the line's entries.
        int nth = 0;
        for (std::int32_t i = position - 1; i >= 0; --i) {
            const IndexTy &above = index[static_cast<std::size_t>(i)];
            if (above.kind == NotesHeading)
                break;
            if (above.kind == NoteEntry && above.value == entry.value)
                ++nth;
        }
        for (const Appt &appt : doc.engine().notes()) {
            if (appt.line == entry.value && nth-- == 0) {
                target.date = appt.date;
                break;
            }
        }
    }
    return target;
}

std::optional<EntryTarget> targetOfLine(const TApptDocument &doc, std::int32_t line,
                                        std::optional<TDate> date)
{
    if (line < 0 || static_cast<std::size_t>(line) >= doc.lines().size())
        return std::nullopt;
    EntryTarget target;
    target.line = line;
    target.text = doc.lines()[static_cast<std::size_t>(line)].text;
    target.inNotes = !date.has_value();
    if (date) {
        target.date = *date;
    } else {
        const auto &notes = doc.engine().notes();
        const auto it = std::find_if(notes.begin(), notes.end(),
                                     [&](const Appt &appt) { return appt.line == line; });
        if (it == notes.end())
            return std::nullopt;
        target.date = it->date;
    }
    if (findInstance(doc, target) == nullptr)
        return std::nullopt;
    return target;
}

bool targetHolds(const TApptDocument &doc, const EntryTarget &target)
{
    return target.line >= 0 && static_cast<std::size_t>(target.line) < doc.lines().size()
        && doc.lines()[static_cast<std::size_t>(target.line)].text == target.text
        && findInstance(doc, target) != nullptr;
}

std::int32_t targetKind(const TApptDocument &doc, const EntryTarget &target)
{
    return doc.lines()[static_cast<std::size_t>(target.line)].kind;
}

EntryOutcome ToggleDone(TApptDocument &doc, const EntryTarget &target)
{
    if (!targetHolds(doc, target))
        return outcomeOf(EntryStatus::Stale);
    const std::int32_t kind = targetKind(doc, target);
    const bool wasDone = findInstance(doc, target)->done != 0;
    std::string changed;
    bool removedNag = false;
    if (repeats(kind)) {
        if (target.inNotes)
            return outcomeOf(EntryStatus::NagOfCycle);
        changed = wasDone ? withoutDoneDate(doc, target.text, target.date)
                          : withDateCode(doc, target.text, 'D', target.date);
    } else if (kind == Single && target.inNotes) {
        changed = withoutNag(doc, target.text);
        removedNag = true;
    } else if (kind == Note || kind == Single) {
        changed = toggledCompleted(doc, target.text);
    }
    if (changed.empty())
        return outcomeOf(EntryStatus::Unchanged);
    replaceLine(doc, target, std::move(changed));
    EntryOutcome outcome = outcomeOf(EntryStatus::Changed);
    if (removedNag) {
        outcome.position = selectableNear(doc, 1);
        return outcome;
    }
    EntryTarget after = target;
    after.text = doc.lines()[static_cast<std::size_t>(target.line)].text;
    if (const Appt *appt = findInstance(doc, after))
        outcome.done = appt->done != 0;
    outcome.position = positionOf(doc, after);
    return outcome;
}

DeleteQuestion deleteQuestion(const TApptDocument &doc, const EntryTarget &target)
{
    const std::int32_t kind = targetKind(doc, target);
    if (target.inNotes && kind != Note)
        return DeleteQuestion::ParentOfReminder;
    if (kind == Note || kind == Single)
        return DeleteQuestion::Confirm;
    return DeleteQuestion::InstanceOrCycle;
}

EntryOutcome DeleteEntry(TApptDocument &doc, const EntryTarget &target, bool wholeCycle)
{
    if (!targetHolds(doc, target))
        return outcomeOf(EntryStatus::Stale);
    const DeleteQuestion question = deleteQuestion(doc, target);
    const std::int32_t kind = targetKind(doc, target);
    const bool wholeLine = question != DeleteQuestion::InstanceOrCycle || wholeCycle;
    std::string changed
        = wholeLine ? "~" + target.text : withDateCode(doc, target.text, 'X', target.date);
    if (changed.empty())
        return outcomeOf(EntryStatus::Unchanged);
    replaceLine(doc, target, std::move(changed));
    EntryOutcome outcome = outcomeOf(EntryStatus::Changed);
    const bool toTop = question == DeleteQuestion::ParentOfReminder
        || (question == DeleteQuestion::InstanceOrCycle && wholeCycle);
    if (toTop)
        outcome.position = selectableNear(doc, 1);
    else if (target.position >= 0)
        outcome.position = selectableNear(doc, target.position);
    const bool dated = !toTop && kind != Note;
    outcome.goToDate = dated ? target.date : doc.window().today;
    return outcome;
}

std::string ClipboardText(const TApptDocument &doc, const EntryTarget &target)
{
    return doc.lines()[static_cast<std::size_t>(target.line)].text;
}

std::string PastedLineText(TApptDocument &doc, std::string_view clipboard, bool inDayBlock,
                           const TDate &date)
{
    const std::string text = clipboardLine(clipboard);
    TimeString appt(text);
    ApptInfo info;
    ReadAppt(info, doc, appt);
    if (appt.kind != Unscheduled)
        return text;
    // Everything pasted is free text, read back byte for byte.
    return inDayBlock ? composedOn(doc, text, 0, Single, date)
                      : composedOn(doc, text, 0, Note, TDate());
}

std::string PastedOnDayText(TApptDocument &doc, std::string_view clipboard, const TDate &date,
                            DayPaste where)
{
    const std::string text = clipboardLine(clipboard);
    TimeString appt(text);
    ApptInfo info;
    LineDates dates;
    ReadAppt(info, doc, appt, dates);
    const std::int32_t kind = appt.kind;
    const bool movesDate
        = kind == Single || (where == DayPaste::MonthPane && kind == SingleShowFollowing);
    if (movesDate) {
        // The codes stay; only the date and its offset become the day.
        info.mainDate = date;
        info.offset = 0;
        WriteAppt(info, dates, doc, appt);
        return appt.text;
    }
    const bool becomesSingle
        = where == DayPaste::MonthPane ? kind != CategoryLine : kind == Note || kind == Unscheduled;
    if (!becomesSingle)
        return text;
    // Text with no schedule is all description; otherwise the description starts where the
    // reader found the free text.
    return composedOn(doc, text, kind == Unscheduled ? 0 : appt.textStart, Single, date);
}

EntryStatus ReplaceEntryText(TApptDocument &doc, std::int32_t line, std::string_view text)
{
    if (line < 0 || static_cast<std::size_t>(line) >= doc.lines().size())
        return EntryStatus::Stale;
    std::string changed = text.empty() ? std::string("~") : NormaliseInsertedText(text);
    std::string &current = doc.lineTable()[static_cast<std::size_t>(line)].text;
    if (changed == current)
        return EntryStatus::Unchanged;
    current = std::move(changed);
    doc.setChanged(true);
    doc.Rescan();
    return EntryStatus::Changed;
}

EntryOutcome AddEntryLine(TApptDocument &doc, const std::string &text)
{
    const auto line = static_cast<std::int32_t>(doc.lines().size());
    doc.AppendLine(text);
    EntryOutcome outcome = outcomeOf(EntryStatus::Changed);
    const std::vector<IndexTy> &index = doc.engine().index();
    for (std::size_t i = 0; i < index.size(); ++i) {
        if (isSelectable(index[i]) && index[i].value == line) {
            outcome.position = static_cast<std::int32_t>(i);
            break;
        }
    }
    return outcome;
}

} // namespace dvw
