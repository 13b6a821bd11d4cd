#include "printrules.h"

#include "settings/settingkeys.h"
#include "settings/settings.h"
#include "store/startdate.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace dvw {

namespace {

constexpr int daysPrintedByDefault = 7;

TDate weekFrom(const TDate &day)
{
    return TDate::fromDayNumber(day.dayNumber + daysPrintedByDefault - 1);
}

// A whole decimal number within [low, high], or nothing.
std::optional<int> numberIn(const std::string &text, int low, int high)
{
    int value = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty() || value < low || value > high)
        return std::nullopt;
    return value;
}

void stepMonth(int &month, int &year, int step)
{
    month += step;
    if (month < 1) {
        month = 12;
        --year;
    } else if (month > 12) {
        month = 1;
        ++year;
    }
}

int monthIndex(int month, int year)
{
    return year * 12 + month - 1;
}

} // namespace

PrintSession PrintSession::start(const Settings &settings, const TDate &windowStart,
                                 const TDate &today)
{
    PrintSession s;
    s.followWindowStart(windowStart);
    const auto month = static_cast<int>(today.Month());
    const auto year = static_cast<int>(today.Year());
    s.months = {month, year, month, year};
    s.walletStyle = settings.walletStyle;
    s.byPages = settings.page;
    s.pages = settings.numPages;
    s.columns = settings.numCols;
    s.includeNotes = settings.includeNotes;
    return s;
}

void PrintSession::followWindowStart(const TDate &start)
{
    if (start == windowStart)
        return;
    windowStart = start;
    from = start;
    through = weekFrom(start);
}

void PrintSession::followSetting(std::string_view name, const Settings &settings)
{
    namespace k = settingkeys;
    if (name == k::WALLETSTYLE)
        walletStyle = settings.walletStyle;
    else if (name == k::PAGE)
        byPages = settings.page;
    else if (name == k::NUMPAGES)
        pages = settings.numPages;
    else if (name == k::NUMCOLS)
        columns = settings.numCols;
    else if (name == k::INCLUDENOTES)
        includeNotes = settings.includeNotes;
}

PrintTarget PrintTargetOf(const PrintFacts &facts)
{
    if (!facts.hasDocument || !facts.windowActive)
        return PrintTarget::None;
    if (facts.showsCalendar)
        return PrintTarget::Month;
    return facts.showsList ? PrintTarget::List : PrintTarget::None;
}

ListOptionsControls ListOptionsOf(const PrintSession &session, const DateTextSettings &dates)
{
    ListOptionsControls c;
    c.startDate = StartDateText(session.from, dates);
    c.endDate = StartDateText(session.through, dates);
    c.wallet = session.walletStyle;
    c.byPages = session.byPages;
    const bool pagesUsable = session.pages >= 1 && session.pages <= maxPrintPages;
    const bool columnsUsable = session.columns >= 1 && session.columns <= maxPrintColumns;
    c.pages = std::to_string(pagesUsable ? session.pages : 1);
    c.includeNotes = session.includeNotes;
    c.columns = std::to_string(columnsUsable ? session.columns : 1);
    return c;
}

void ApplyListOptions(PrintSession &session, const ListOptionsControls &c,
                      const DateTextSettings &dates)
{
    // The shown value of an unusable stored count is what OK keeps.
    const ListOptionsControls shown = ListOptionsOf(session, dates);
    session.pages = numberIn(c.pages, 1, maxPrintPages)
                        .value_or(numberIn(shown.pages, 1, maxPrintPages).value_or(1));
    session.columns = numberIn(c.columns, 1, maxPrintColumns)
                          .value_or(numberIn(shown.columns, 1, maxPrintColumns).value_or(1));
    if (const std::optional<TDate> from = ReadStartDate(c.startDate, dates))
        session.from = *from;
    if (const std::optional<TDate> through = ReadStartDate(c.endDate, dates))
        session.through = *through;
    session.includeNotes = c.includeNotes;
    session.walletStyle = c.wallet;
    session.byPages = c.byPages;
}

void MoveStartMonth(MonthRange &range, int step)
{
    stepMonth(range.startMonth, range.startYear, step);
    if (monthIndex(range.startMonth, range.startYear) > monthIndex(range.endMonth, range.endYear)) {
        range.endMonth = range.startMonth;
        range.endYear = range.startYear;
    }
}

void MoveEndMonth(MonthRange &range, int step)
{
    stepMonth(range.endMonth, range.endYear, step);
    if (monthIndex(range.endMonth, range.endYear) < monthIndex(range.startMonth, range.startYear)) {
        range.startMonth = range.endMonth;
        range.startYear = range.endYear;
    }
}

std::string MonthText(int month, int year)
{
    return std::string(MonthName(month)) + ", " + std::to_string(year);
}

std::string MonthExplanation(const MonthRange &range, const TDate &windowEnd,
                             const DateTextSettings &dates)
{
    const TDate first(1, static_cast<std::uint32_t>(range.startMonth),
                      static_cast<std::uint32_t>(range.startYear));
    return "Only appointments from " + StartDateText(first, dates) + " through "
        + StartDateText(windowEnd, dates) + " will appear in calendar.";
}

void PreviewPager::setHighest(int highest)
{
    m_highest = std::max(1, highest);
    m_last = std::min(m_last, m_highest);
    m_first = std::min(m_first, m_last);
}

void PreviewPager::previous()
{
    if (m_first > 1) {
        --m_first;
        --m_last;
    }
}

void PreviewPager::next()
{
    if (m_last < m_highest) {
        ++m_first;
        ++m_last;
    }
}

void PreviewPager::onePage()
{
    m_two = false;
    m_last = m_first;
}

void PreviewPager::showTwoPages()
{
    m_two = true;
    if (m_first == m_highest && m_highest >= 2) {
        m_first = m_highest - 1;
        m_last = m_highest;
    } else {
        m_last = std::min(m_first + 1, m_highest);
    }
}

std::string PreviewPager::status() const
{
    if (m_two && m_first != m_last)
        return "Page " + std::to_string(m_first) + " - " + std::to_string(m_last);
    return "Page " + std::to_string(m_first);
}

} // namespace dvw
