#pragma once

#include "core/datetextsettings.h"
#include "core/tdate.h"
#include "store/monthprintout.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace dvw {

struct Settings;

// What printing keeps for the run: the print options dialogs change it, nothing here is
// written to the settings file (the Configure menu stores the defaults).
struct PrintSession
{
    TDate from; // print start date
    TDate through; // print end date
    MonthRange months;
    bool walletStyle = false;
    bool byPages = true; // PAGE
    int pages = 1; // NUMPAGES, as stored (outside 1..100 it prints as 1)
    int columns = 1; // NUMCOLS, as stored (outside 1..4 it prints as 1)
    bool includeNotes = false;
    TDate windowStart; // the window start the dates were last set from

    // From the settings: the window's start and a week from it, this month alone.
    static PrintSession start(const Settings &settings, const TDate &windowStart,
                              const TDate &today);
    // When the window's start date was reset, the print dates follow it.
    void followWindowStart(const TDate &start);
    // A default the Configure menu changed holds from then on, as if chosen here.
    void followSetting(std::string_view name, const Settings &settings);
};

// Which printout the current document gives: month calendars when it shows its calendar
// view, else the list when it shows its list, else none (a file view alone, or no active
// document window).
enum class PrintTarget { None, List, Month };
struct PrintFacts
{
    bool hasDocument = false;
    bool windowActive = false;
    bool showsList = false;
    bool showsCalendar = false;
};
PrintTarget PrintTargetOf(const PrintFacts &facts);

// The controls of "Print options - list" as texts and checks.
struct ListOptionsControls
{
    std::string startDate;
    std::string endDate;
    bool wallet = false;
    bool byPages = true; // "Number of pages" checked: its field enabled, the end date not
    std::string pages;
    bool includeNotes = false;
    std::string columns;
};

// What the dialog shows when it opens; a stored count outside its limits shows as 1.
ListOptionsControls ListOptionsOf(const PrintSession &session, const DateTextSettings &dates);
// OK: numbers within their limits and complete dates are taken, anything else leaves the
// value as it was; the checks are taken as they are.
void ApplyListOptions(PrintSession &session, const ListOptionsControls &controls,
                      const DateTextSettings &dates);

// "Print options - monthly": moving either month by one (step -1 up, +1 down); the other
// follows so that the start never comes after the end.
void MoveStartMonth(MonthRange &range, int step);
void MoveEndMonth(MonthRange &range, int step);
std::string MonthText(int month, int year);
std::string MonthExplanation(const MonthRange &range, const TDate &windowEnd,
                             const DateTextSettings &dates);

// The preview's pages: which are shown, what the status says and which buttons work.
class PreviewPager
{
public:
    explicit PreviewPager(int highest = 1)
        : m_highest(std::max(1, highest))
    { }
    int first() const { return m_first; }
    int last() const { return m_last; }
    bool twoPages() const { return m_two; }
    int highest() const { return m_highest; }
    // The printout ended with fewer pages than it might have had.
    void setHighest(int highest);
    void previous();
    void next();
    void onePage();
    void showTwoPages();
    bool canGoBack() const { return m_first != 1; }
    bool canGoOn() const { return m_last != m_highest; }
    std::string status() const;

private:
    int m_first = 1;
    int m_last = 1;
    int m_highest = 1;
    bool m_two = false;
};

} // namespace dvw
