#pragma once

#include "core/apptinfo.h"
#include "core/datelist.h"
#include "core/readcontext.h"
#include "core/tdate.h"
#include "core/timestring.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dvw {

// The kind buttons of the edit dialog, top to bottom.
enum class KindButton { Note, Single, Anniversary, Birthday, EveryN, NthWeekday, Weekly };

// The six mark check boxes, in the dialog's order.
enum Mark { HolidayMark, NoPrintMark, WeekdaysOnlyMark, NagMark, CompletedMark, UnimportantMark };
inline constexpr int markCount = 6;

// The twelve groups of controls a kind shows, hides, enables or disables.
enum ControlGroup {
    WeekdayBoxes, // shown: the "Select days:" boxes
    DateLists, // enabled: done and excluded dates
    DayField, // shown: never by any kind
    WarnField, // enabled
    FollowingField, // enabled
    AlarmField, // enabled
    OrdinalLists, // shown: "1st".."Last", the weekday and the month lists
    OffsetField, // shown
    EveryFields, // shown: "Every" count and its unit list
    MainDateField, // shown
    StartDateField, // enabled
    EndDateField, // enabled
};
inline constexpr int groupCount = 12;

// One kind button's layout: a twelve-bit mask with group 0 the most significant bit, the
// marks it enables and the label over the main date field.
struct KindLayout
{
    std::uint16_t groups = 0;
    std::array<bool, markCount> marks {};
    std::string mainDateLabel;

    bool has(ControlGroup group) const { return (groups >> (groupCount - 1 - group)) & 1u; }
};
KindLayout LayoutOf(KindButton button, bool european);
// The button that shows a kind (0..13; a category definition line shows as a note).
KindButton ButtonOf(std::int32_t kind);

// An entry of the category list: "Default" (code 0) first.
struct CategoryItem
{
    std::uint32_t code = 0;
    std::string text;
    bool operator==(const CategoryItem &) const = default;
};

// Everything the controls show, as the controls hold it: texts for the edit fields, indices
// for the lists. The edit box holds the whole line in the reduced mode and only the free
// text in the enlarged one.
struct FormControls
{
    std::string text {};
    KindButton kind = KindButton::Note;
    std::array<bool, markCount> marks {};
    int category = 0; // position in the category list
    int priority = 0; // 0 "Default", 1..4
    std::string alarmAdvance {};
    std::string warnDays {};
    std::string showFollowing {};
    std::string doneDates {};
    std::string excludedDates {};
    std::string startDate {};
    std::string endDate {};
    std::string mainDate {};
    std::string count {}; // "Every" n
    int unit = 0; // 0 "Day", 1 "Week", 2 "Month"
    std::array<bool, 7> weekdays {}; // Sunday first
    int ordinal = 0; // 0 "1st" .. 4 "Last"
    int weekday = 0; // 0 Sunday .. 6 Saturday
    int month = 12; // 0 January .. 11 December, 12 "Every month"
    std::string offset {};

    bool operator==(const FormControls &) const = default;
};

// What the dialog needs of its document.
struct FormDocument
{
    ReadContext *context = nullptr;
    TDate today;
    // The document's categories in table order: code and description.
    std::vector<CategoryItem> categories;
};

// The rules of the appointment edit dialog without a widget: which controls a kind shows,
// what the controls show for a line, the line they compose, the date spinners and the
// result of closing. The dialog never marks the document: its caller decides what a
// changed line means for the document.
//
// A control the user leaves alone keeps the line's own value, also one the controls cannot
// show (an undefined category, an ordinal beyond "Last", a date the date text cannot name):
// untouched controls give back the line's bytes, and only what was changed is rewritten.
class ApptForm
{
public:
    // result(): the line was not changed, only its free text changed, more changed.
    enum Result { Unchanged = 0, FreeTextChanged = 1, ScheduleChanged = 2 };
    enum class DateField { Main, Start, End };

    // line: the line to edit (empty for a new appointment); bigDialog: the stored mode,
    // which shows at once (a category definition line always opens reduced, for good).
    ApptForm(FormDocument document, std::string line, TDate openingDate, bool bigDialog);

    bool enlarged() const { return m_enlarged; }
    bool rawOnly() const { return m_rawOnly; }
    // Flips the mode, the controls following the line. Nothing happens in the raw-only
    // mode, and a line edited into a category definition stays reduced and becomes raw
    // only. Whether the mode changed (the caller stores it).
    bool switchMode();

    FormControls &controls() { return m_controls; }
    const FormControls &controls() const { return m_controls; }
    const std::vector<CategoryItem> &categoryItems() const { return m_categoryItems; }
    const KindLayout &layout() const { return m_layout; }

    // The user checks a kind button: the kind's layout, clearing what it switches off.
    void chooseKind(KindButton button);

    // A click on a date field's spinner: -1 a day back, +1 a day forward, 0 any other
    // action. A field that does not read as a real day starts from today.
    void spin(DateField field, int step);
    // The weekday box of a date field: three letters for a complete date, empty for a
    // partial one, nothing when the text is no date (the box keeps what it showed).
    std::optional<std::string> weekdayBox(DateField field) const;

    // The line as the controls give it now, without closing: the preview.
    std::string currentLine() const;
    // The line the writer builds from the controls as they stand: what OK gives once more
    // than the free text changed.
    std::string writtenLine() const;
    // OK: builds the line and decides the result.
    Result accept();
    // Cancel: the line goes back to the one the dialog opened with.
    void cancel();

    const std::string &line() const { return m_working.text; }
    const std::string &savedLine() const { return m_saved.text; }
    Result result() const { return m_result; }
    const TDate &openingDate() const { return m_openingDate; }

private:
    void toEnlarged();
    void toReduced();
    void readWorking();
    void fillControls();
    void applyLayout(KindButton button, bool byUser);
    std::string &dateText(DateField field);
    const std::string &dateText(DateField field) const;
    // The line the controls give: the working line itself while none was touched.
    // closing: OK adds the brackets a birthday's age goes into.
    TimeString composed(bool closing) const;
    TimeString throughWriter(std::string freeText) const;
    ApptInfo infoFromControls(LineDates &dates) const;
    // The flags a main date started from today takes for the kind being edited.
    std::uint32_t spinFlags() const;

    FormDocument m_document;
    TDate m_openingDate;
    TimeString m_saved;
    TimeString m_working;
    ApptInfo m_decoded;
    LineDates m_dates;
    std::vector<CategoryItem> m_categoryItems;
    FormControls m_controls;
    // The controls as filling left them: what the user changed is what differs.
    FormControls m_filled;
    KindLayout m_layout;
    bool m_enlarged = false;
    bool m_rawOnly = false;
    Result m_result = Unchanged;
};

// Reads a number field: leading blanks, then decimal digits held to the int range;
// anything else is the fallback. With allowMinus a leading "-" makes it negative.
int ReadNumberField(const std::string &text, int fallback, bool allowMinus = false);
// Reads dates separated by blanks and one optional "," up to the first text that is no
// date. An empty list when there is none.
DateList ReadDateListField(const std::string &text, const DateTextSettings &settings);
// The dates joined by ", ", each as FormatDate writes it (without its trailing blank).
std::string FormatDateList(const DateList &dates, const DateTextSettings &settings);

} // namespace dvw
