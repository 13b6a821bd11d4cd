#include "apptform.h"

#include "core/category.h"
#include "core/datetext.h"
#include "core/linereader.h"
#include "core/linewriter.h"
#include "core/textcursor.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace dvw {

namespace {

constexpr std::uint16_t bit(ControlGroup group)
{
    return static_cast<std::uint16_t>(1u << (groupCount - 1 - group));
}

template<typename... Groups>
constexpr std::uint16_t groupsOf(Groups... groups)
{
    return static_cast<std::uint16_t>((0u | ... | bit(groups)));
}

// Holiday, Don't print, Weekdays only, Nag, Completed, Unimportant.
constexpr std::array<bool, markCount> noteMarks {false, true, false, false, true, true};
constexpr std::array<bool, markCount> singleMarks {true, true, true, true, true, false};
constexpr std::array<bool, markCount> yearlyMarks {true, true, true, true, false, false};
constexpr std::array<bool, markCount> repeatMarks {true, true, true, false, false, false};

std::string trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string dateFieldText(const TDate &date, const DateTextSettings &settings)
{
    return trimmed(FormatDate(date, settings));
}

// ReadDate over a whole field; the date is left alone when the text is no date.
bool readDateField(const std::string &text, TDate &date, const DateTextSettings &settings)
{
    TextCursor cursor {text};
    cursor.skipBlanks();
    return ReadDate(cursor, date, settings);
}

std::string numberText(std::int64_t value, std::int64_t blankFor)
{
    return value == blankFor ? std::string() : std::to_string(value);
}

int weekdayIndex(const TDate &date)
{
    return static_cast<int>(date.WeekDay() % 7); // 7 (Sunday) becomes 0
}

} // namespace

KindLayout LayoutOf(KindButton button, bool european)
{
    switch (button) {
    case KindButton::Note:
        return {0, noteMarks, {}};
    case KindButton::Single:
        return {groupsOf(WarnField, FollowingField, AlarmField, MainDateField), singleMarks,
                "Enter date:"};
    case KindButton::Anniversary:
        return {groupsOf(DateLists, WarnField, FollowingField, AlarmField, MainDateField,
                         StartDateField, EndDateField),
                yearlyMarks, european ? "Enter day/month:" : "Enter month/day:"};
    case KindButton::Birthday:
        return {groupsOf(DateLists, WarnField, FollowingField, AlarmField, MainDateField,
                         StartDateField, EndDateField),
                yearlyMarks, "Birth date:"};
    case KindButton::EveryN:
        return {groupsOf(DateLists, AlarmField, EveryFields, StartDateField, EndDateField),
                repeatMarks,
                {}};
    case KindButton::NthWeekday:
        return {groupsOf(DateLists, WarnField, FollowingField, AlarmField, OrdinalLists,
                         OffsetField, StartDateField, EndDateField),
                yearlyMarks,
                {}};
    case KindButton::Weekly:
        return {groupsOf(WeekdayBoxes, DateLists, AlarmField, StartDateField, EndDateField),
                repeatMarks,
                {}};
    }
    return {};
}

KindButton ButtonOf(std::int32_t kind)
{
    switch (kind) {
    case MonthlyInYear:
    case Single:
    case SingleShowFollowing:
        return KindButton::Single;
    case Monthly:
    case Anniversary:
        return KindButton::Anniversary;
    case Birthday:
        return KindButton::Birthday;
    case EveryNDays:
    case EveryNWeeks:
    case EveryNMonths:
        return KindButton::EveryN;
    case WeeklyOnDays:
        return KindButton::Weekly;
    case NthWeekdayOfMonth:
        return KindButton::NthWeekday;
    default:
        return KindButton::Note;
    }
}

int ReadNumberField(const std::string &text, int fallback, bool allowMinus)
{
    TextCursor cursor {text};
    cursor.skipBlanks();
    const bool negative = allowMinus && cursor.peek() == '-';
    if (negative)
        cursor.advance();
    if (!isDigit(cursor.peek()))
        return fallback;
    constexpr std::int64_t limit = std::numeric_limits<int>::max();
    std::int64_t value = 0;
    for (; isDigit(cursor.peek()); cursor.advance())
        value = std::min(limit, value * 10 + (cursor.peek() - '0'));
    return static_cast<int>(negative ? -value : value);
}

DateList ReadDateListField(const std::string &text, const DateTextSettings &settings)
{
    DateList dates;
    TextCursor cursor {text};
    for (;;) {
        cursor.skipBlanks();
        const std::size_t before = cursor.pos;
        TDate date;
        if (!ReadDate(cursor, date, settings) || cursor.pos == before)
            break;
        dates.insert(date);
        cursor.skipBlanks();
        if (cursor.peek() == ',')
            cursor.advance();
    }
    return dates;
}

std::string FormatDateList(const DateList &dates, const DateTextSettings &settings)
{
    std::string text;
    for (const TDate &date : dates.dates()) {
        if (!text.empty())
            text += ", ";
        text += dateFieldText(date, settings);
    }
    return text;
}

ApptForm::ApptForm(FormDocument document, std::string line, TDate openingDate, bool bigDialog)
    : m_document(std::move(document))
    , m_openingDate(openingDate)
    , m_saved(std::move(line))
    , m_working(m_saved)
{
    readWorking();
    m_rawOnly = m_decoded.kind == CategoryLine;
    m_controls.text = m_working.text;
    if (bigDialog && !m_rawOnly)
        toEnlarged();
}

bool ApptForm::switchMode()
{
    if (m_rawOnly)
        return false;
    if (m_enlarged) {
        toReduced();
        return true;
    }
    toEnlarged();
    return m_enlarged;
}

void ApptForm::toReduced()
{
    m_working = composed(false);
    readWorking();
    m_controls.text = m_working.text;
    m_enlarged = false;
}

void ApptForm::toEnlarged()
{
    m_working = TimeString(m_controls.text);
    readWorking();
    // Definitions have no controls: such a line is edited as text only.
    if (m_decoded.kind == CategoryLine) {
        m_rawOnly = true;
        return;
    }
    fillControls();
    m_enlarged = true;
}

void ApptForm::readWorking()
{
    m_decoded = ApptInfo(-1);
    ReadAppt(m_decoded, *m_document.context, m_working, m_dates);
}

void ApptForm::fillControls()
{
    const DateTextSettings &settings = m_document.context->dateSettings();
    const ApptInfo &info = m_decoded;
    m_controls = FormControls {};
    m_layout = KindLayout {};
    applyLayout(ButtonOf(info.kind), false);

    const auto start = static_cast<std::size_t>(std::max(0, m_working.textStart));
    m_controls.text = m_working.text.substr(std::min(start, m_working.text.size()));
    if (info.kind >= EveryNDays && info.kind <= EveryNMonths) {
        m_controls.unit = info.kind - EveryNDays;
        m_controls.count = std::to_string(info.n);
    }
    if (info.kind >= MonthlyInYear && info.kind <= Birthday)
        m_controls.mainDate = dateFieldText(info.mainDate, settings);
    if (info.hasStart)
        m_controls.startDate = dateFieldText(info.startDate, settings);
    if (info.hasEnd)
        m_controls.endDate = dateFieldText(info.endDate, settings);

    m_categoryItems = {{0, "Default"}};
    m_categoryItems.insert(m_categoryItems.end(), m_document.categories.begin(),
                           m_document.categories.end());
    const auto found = std::find_if(m_categoryItems.begin(), m_categoryItems.end(),
                                    [&](const CategoryItem &c) { return c.code == info.category; });
    if (found == m_categoryItems.end())
        m_categoryItems.push_back({info.category, UnpackCategory(info.category)});
    m_controls.category = static_cast<int>(
        std::find_if(m_categoryItems.begin(), m_categoryItems.end(),
                     [&](const CategoryItem &c) { return c.code == info.category; })
        - m_categoryItems.begin());

    m_controls.marks = {info.holiday, info.noPrint,   info.weekdaysOnly,
                        info.nag,     info.completed, info.unimportant};
    m_controls.priority = std::min<int>(info.priority, 4);
    m_controls.alarmAdvance = numberText(info.alarmAdvance, -1);
    m_controls.warnDays = numberText(info.warnDays, 0);
    m_controls.showFollowing = numberText(info.showFollowing, 0);
    m_controls.offset = numberText(info.offset, 0);
    if (info.kind == WeeklyOnDays)
        m_controls.weekdays = info.weekdays;
    if (info.hasExcluded)
        m_controls.excludedDates = FormatDateList(m_dates.excluded, settings);
    if (info.done)
        m_controls.doneDates = FormatDateList(m_dates.done, settings);
    m_filled = m_controls;
}

void ApptForm::chooseKind(KindButton button)
{
    applyLayout(button, true);
}

void ApptForm::applyLayout(KindButton button, bool byUser)
{
    const bool european = m_document.context->dateSettings().european;
    const KindLayout before = m_layout;
    const KindLayout after = LayoutOf(button, european);
    const auto switchedOn = [&](ControlGroup g) { return after.has(g) && !before.has(g); };
    FormControls &c = m_controls;
    const bool wasEveryN = c.kind == KindButton::EveryN;
    c.kind = button;
    m_layout = after;

    if (!after.has(WeekdayBoxes))
        c.weekdays = {};
    if (!after.has(DateLists))
        c.doneDates.clear(), c.excludedDates.clear();
    if (!after.has(WarnField))
        c.warnDays.clear();
    if (!after.has(FollowingField))
        c.showFollowing.clear();
    if (!after.has(AlarmField))
        c.alarmAdvance.clear();
    for (int m = 0; m < markCount; ++m) {
        if (!after.marks[static_cast<std::size_t>(m)])
            c.marks[static_cast<std::size_t>(m)] = false;
    }

    const DateTextSettings &settings = m_document.context->dateSettings();
    if (switchedOn(OrdinalLists)) {
        // An ordinal beyond the fourth is the last one, as the reader takes it.
        c.ordinal = m_decoded.n >= 5 ? 4 : std::max(0, m_decoded.n - 1);
        c.weekday = m_decoded.weekday >= 0 && m_decoded.weekday <= 6 ? m_decoded.weekday : 0;
        c.month = m_decoded.month >= 1 && m_decoded.month <= 12 ? m_decoded.month - 1 : 12;
    }
    if (switchedOn(EveryFields) && !wasEveryN)
        c.unit = 0;
    if (switchedOn(StartDateField) && m_decoded.hasStart)
        c.startDate = dateFieldText(m_decoded.startDate, settings);
    if (switchedOn(EndDateField) && m_decoded.hasEnd)
        c.endDate = dateFieldText(m_decoded.endDate, settings);

    if (!byUser)
        return;
    TDate main;
    if (button == KindButton::Single && readDateField(c.mainDate, main, settings)
        && main.flags != 0)
        c.mainDate = dateFieldText(m_document.today, settings);
    if (button == KindButton::Weekly
        && std::none_of(c.weekdays.begin(), c.weekdays.end(), [](bool b) { return b; })
        && m_openingDate.isValid())
        c.weekdays[static_cast<std::size_t>(weekdayIndex(m_openingDate))] = true;
}

std::string &ApptForm::dateText(DateField field)
{
    switch (field) {
    case DateField::Start:
        return m_controls.startDate;
    case DateField::End:
        return m_controls.endDate;
    case DateField::Main:
        break;
    }
    return m_controls.mainDate;
}

const std::string &ApptForm::dateText(DateField field) const
{
    return const_cast<ApptForm *>(this)->dateText(field);
}

void ApptForm::spin(DateField field, int step)
{
    const DateTextSettings &settings = m_document.context->dateSettings();
    std::string &text = dateText(field);
    TDate date;
    // A date the calendar lacks (day number 0) has no neighbours to step to.
    if (readDateField(text, date, settings) && date.isValid()) {
        const std::int64_t moved = static_cast<std::int64_t>(date.dayNumber) + step;
        if (moved > 0 && moved <= std::numeric_limits<std::uint32_t>::max())
            date = TDate::fromDayNumber(static_cast<std::uint32_t>(moved), date.flags);
    } else {
        date = m_document.today;
        if (field == DateField::Main)
            date.flags = spinFlags();
    }
    text = dateFieldText(date, settings);
}

std::uint32_t ApptForm::spinFlags() const
{
    const bool sameButton = m_controls.kind == m_filled.kind;
    switch (m_controls.kind) {
    case KindButton::Single:
        return sameButton && m_decoded.kind == MonthlyInYear ? TDate::AnyMonth : 0u;
    case KindButton::Anniversary:
        return sameButton && m_decoded.kind == Monthly ? TDate::AnyMonth | TDate::NoYear
                                                       : TDate::NoYear;
    default:
        return 0;
    }
}

std::optional<std::string> ApptForm::weekdayBox(DateField field) const
{
    TDate date;
    if (!readDateField(dateText(field), date, m_document.context->dateSettings()))
        return std::nullopt;
    if (date.flags != 0 || !date.isValid())
        return std::string();
    return std::string(ShortDayName(static_cast<int>(date.WeekDay())));
}

ApptInfo ApptForm::infoFromControls(LineDates &dates) const
{
    const DateTextSettings &settings = m_document.context->dateSettings();
    const FormControls &c = m_controls;
    const bool sameKind = c.kind == m_filled.kind;
    // A field the user left alone on a line of the same kind keeps the line's own value.
    const auto changed
        = [&](auto FormControls::*field) { return !sameKind || c.*field != m_filled.*field; };
    ApptInfo info = m_decoded;

    switch (c.kind) {
    case KindButton::Note:
        info.kind = Note;
        break;
    case KindButton::Single:
        info.kind = Single;
        break;
    case KindButton::Anniversary:
        info.kind = Anniversary;
        break;
    case KindButton::Birthday:
        info.kind = Birthday;
        break;
    case KindButton::EveryN:
        info.kind = EveryNDays + std::clamp(c.unit, 0, 2);
        break;
    case KindButton::NthWeekday:
        info.kind = NthWeekdayOfMonth;
        break;
    case KindButton::Weekly:
        info.kind = WeeklyOnDays;
        break;
    }

    if (changed(&FormControls::mainDate)) {
        if (trimmed(c.mainDate).find_first_not_of(' ') == std::string::npos)
            info.mainDate = m_openingDate;
        else
            readDateField(c.mainDate, info.mainDate, settings);
    }
    // A kind without a main date chosen by the user leaves the old one behind.
    if (!sameKind && (info.kind < MonthlyInYear || info.kind > Birthday))
        info.mainDate = TDate();
    if (info.mainDate.hasFlag(TDate::AnyMonth)) {
        if (info.kind == Single)
            info.kind = MonthlyInYear;
        else if (info.kind == Anniversary)
            info.kind = Monthly;
    }
    if (changed(&FormControls::startDate)) {
        info.hasStart
            = !c.startDate.empty() && readDateField(c.startDate, info.startDate, settings);
    }
    if (changed(&FormControls::endDate))
        info.hasEnd = !c.endDate.empty() && readDateField(c.endDate, info.endDate, settings);

    info.holiday = c.marks[HolidayMark];
    info.noPrint = c.marks[NoPrintMark];
    info.weekdaysOnly = c.marks[WeekdaysOnlyMark];
    info.nag = c.marks[NagMark];
    info.completed = c.marks[CompletedMark];
    info.unimportant = c.marks[UnimportantMark];
    info.priority = static_cast<std::uint8_t>(std::clamp(c.priority, 0, 4));

    if (changed(&FormControls::alarmAdvance))
        info.alarmAdvance = ReadNumberField(c.alarmAdvance, -1);
    if (changed(&FormControls::warnDays))
        info.warnDays = ReadNumberField(c.warnDays, 0);
    if (changed(&FormControls::showFollowing))
        info.showFollowing = ReadNumberField(c.showFollowing, 0);
    if (changed(&FormControls::offset))
        info.offset = ReadNumberField(c.offset, 0, true);
    if (info.kind >= EveryNDays && info.kind <= EveryNMonths && changed(&FormControls::count))
        info.n = ReadNumberField(c.count, 1);
    if (info.showFollowing != 0 && info.kind == Single)
        info.kind = SingleShowFollowing;

    info.weekdays = c.weekdays;
    if (info.kind == WeeklyOnDays
        && std::none_of(info.weekdays.begin(), info.weekdays.end(), [](bool b) { return b; })) {
        const TDate from = m_openingDate.isValid() ? m_openingDate : m_document.today;
        info.weekdays[static_cast<std::size_t>(weekdayIndex(from))] = true;
    }

    dates = m_dates;
    if (changed(&FormControls::doneDates)) {
        dates.done = ReadDateListField(c.doneDates, settings);
        info.done = !dates.done.empty();
    }
    if (changed(&FormControls::excludedDates)) {
        dates.excluded = ReadDateListField(c.excludedDates, settings);
        info.hasExcluded = !dates.excluded.empty();
    }

    const auto item = static_cast<std::size_t>(c.category);
    info.category = item < m_categoryItems.size() ? m_categoryItems[item].code : 0;
    if (info.kind == NthWeekdayOfMonth) {
        if (changed(&FormControls::month))
            info.month = c.month >= 0 && c.month < 12 ? c.month + 1 : 0;
        if (changed(&FormControls::weekday))
            info.weekday = std::clamp(c.weekday, 0, 6);
        if (changed(&FormControls::ordinal))
            info.n = std::clamp(c.ordinal, 0, 4) + 1;
    }
    return info;
}

TimeString ApptForm::composed(bool closing) const
{
    if (m_controls == m_filled)
        return m_working;
    std::string text = m_controls.text;
    // The list puts a birthday's age between the brackets.
    if (closing && m_controls.kind == KindButton::Birthday && text.find('(') == std::string::npos)
        text += " (  )";
    FormControls sameText = m_controls;
    sameText.text = m_filled.text;
    if (sameText == m_filled && m_decoded.kind != Unscheduled) {
        // Only the free text changed: the codes stay as the user wrote them, unless the new
        // text would read as more of the schedule behind them. (A line without schedule
        // shows as a note and becomes one.)
        const auto start = static_cast<std::size_t>(std::max(0, m_working.textStart));
        TimeString kept(m_working.text.substr(0, start) + text);
        ApptInfo info;
        ReadAppt(info, *m_document.context, kept);
        if (static_cast<std::size_t>(kept.textStart) == start)
            return kept;
    }
    return throughWriter(std::move(text));
}

TimeString ApptForm::throughWriter(std::string freeText) const
{
    // The writer is given the old codes too: a date the date text cannot name is written
    // as the user typed it.
    const auto start = std::min(static_cast<std::size_t>(std::max(0, m_working.textStart)),
                                m_working.text.size());
    TimeString line(m_working.text.substr(0, start) + freeText);
    line.textStart = static_cast<std::int32_t>(start);
    LineDates dates;
    const ApptInfo info = infoFromControls(dates);
    WriteAppt(info, dates, *m_document.context, line);
    return line;
}

std::string ApptForm::writtenLine() const
{
    return throughWriter(m_controls.text).text;
}

std::string ApptForm::currentLine() const
{
    return m_enlarged ? composed(false).text : m_controls.text;
}

ApptForm::Result ApptForm::accept()
{
    m_working = m_enlarged ? composed(true) : TimeString(m_controls.text);
    if (m_working.text == m_saved.text) {
        m_result = Unchanged;
    } else {
        TimeString saved(m_saved);
        TimeString working(m_working);
        m_result
            = SameSchedule(saved, working, *m_document.context) ? FreeTextChanged : ScheduleChanged;
    }
    return m_result;
}

void ApptForm::cancel()
{
    m_working = m_saved;
    m_result = Unchanged;
}

} // namespace dvw
