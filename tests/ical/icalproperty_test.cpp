// Export and import held to independent answers over random input: libical's own
// recurrence expansion of what we write against the engine's day cells; export then
// import against the file; and our lines for libical's rules against libical's dates.
#include "core/readcontext.h"
#include "ical/eventtext.h"
#include "ical/icalexport.h"
#include "ical/icalimport.h"
#include "icaltesthelpers.h"
#include "linegenerators.h"
#include "store/filerules.h"
#include "testdocuments.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <map>

using namespace dvw;
using namespace dvw::test;

namespace {

const char *const weekdayCodes[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
const char *const weekdayNames[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};

std::string slashDate(Day day)
{
    std::uint32_t m, d, y;
    TDate::fromDayNumber(static_cast<std::uint32_t>(day)).SplitDate(m, d, y);
    return std::to_string(m) + "/" + std::to_string(d) + "/" + std::to_string(y);
}

std::string basicDate(Day day)
{
    std::uint32_t m, d, y;
    TDate::fromDayNumber(static_cast<std::uint32_t>(day)).SplitDate(m, d, y);
    char text[16];
    std::snprintf(text, sizeof text, "%04u%02u%02u", y, m, d);
    return text;
}

// Between low and high (exclusive) values of gen.
template<typename Container, typename T>
rc::Gen<Container> some(int low, int high, rc::Gen<T> gen)
{
    return rc::gen::mapcat(rc::gen::inRange(low, high), [gen](int n) {
        return rc::gen::container<Container>(static_cast<std::size_t>(n), gen);
    });
}

// Days from 2024 through 2028.
rc::Gen<Day> genDay()
{
    return rc::gen::inRange(dayOf(2024, 1, 1), dayOf(2028, 12, 31));
}

rc::Gen<std::string> genWeekdays()
{
    return rc::gen::map(rc::gen::container<std::vector<int>>(rc::gen::inRange(0, 7)),
                        [](const std::vector<int> &days) {
                            std::string list;
                            for (int d : days)
                                list += (list.empty() ? "" : ",") + std::string(weekdayNames[d]);
                            return list.empty() ? std::string("MON") : list;
                        });
}

// A line of every dated kind, with the codes and counts that change where it shows.
rc::Gen<std::string> genRuleLine()
{
    const auto schedule = rc::gen::oneOf(
        rc::gen::map(genDay(), slashDate),
        rc::gen::map(rc::gen::inRange(0, 34), [](int d) { return "?/" + std::to_string(d); }),
        rc::gen::map(
            rc::gen::pair(rc::gen::inRange(1, 33), rc::gen::inRange(2024, 2029)),
            [](auto p) { return "?/" + std::to_string(p.first) + "/" + std::to_string(p.second); }),
        rc::gen::map(
            rc::gen::pair(rc::gen::inRange(1, 13), rc::gen::inRange(1, 33)),
            [](auto p) { return std::to_string(p.first) + "/" + std::to_string(p.second); }),
        rc::gen::map(genDay(), [](Day d) { return "\\B" + slashDate(d - 365 * 30); }),
        rc::gen::map(rc::gen::pair(rc::gen::inRange(0, 9), rc::gen::element('D', 'W', 'M')),
                     [](auto p) { return "!" + std::to_string(p.first) + p.second; }),
        rc::gen::map(genWeekdays(), [](const std::string &w) { return "!" + w; }),
        rc::gen::map(rc::gen::tuple(rc::gen::element<std::string>("?", "JAN", "FEB", "MAY", "DEC"),
                                    rc::gen::inRange(0, 7), rc::gen::inRange(0, 7),
                                    rc::gen::element<std::string>("", "", ">3", "<2", ">40")),
                     [](auto t) {
                         return "!" + std::get<0>(t) + std::to_string(std::get<1>(t))
                             + weekdayNames[std::get<2>(t)] + std::get<3>(t);
                     }));
    const auto code = rc::gen::oneOf(
        rc::gen::element<std::string>("\\~", "\\W", "\\N", "\\(20)", "\\2"),
        rc::gen::map(
            rc::gen::pair(rc::gen::element<std::string>("\\S", "\\E", "\\X", "\\D"), genDay()),
            [](auto p) { return p.first + slashDate(p.second) + " "; }));
    return rc::gen::apply(
        [](const std::vector<std::string> &codes, const std::string &s, const std::string &counts,
           const std::string &time) {
            std::string line;
            for (const std::string &c : codes)
                line += c;
            return line + s + " " + counts + time + "x";
        },
        some<std::vector<std::string>>(0, 3, code), schedule,
        rc::gen::element<std::string>("", "", "+1 ", "+3 ", "-2 ", "+12 "),
        rc::gen::element<std::string>("", "", "9:00 ", "7:30 pm "));
}

struct Window
{
    Day first;
    int days;
};

void showValue(const Window &w, std::ostream &os)
{
    os << "first " << w.first << " (" << slashDate(w.first) << "), " << w.days << " days";
}

rc::Gen<Window> genWindow()
{
    return rc::gen::construct<Window>(genDay(), rc::gen::inRange(1, 366));
}

std::string exportedCalendar(TApptDocument &doc, bool listed)
{
    ExportRequest request;
    request.today = doc.window().today;
    request.first = doc.window().start;
    request.last = doc.window().end;
    request.listed = listed;
    return ExportCalendar(doc, request);
}

} // namespace

// (a) What libical expands of the calendar equals, line by line and day by day, the days
// `dayvane-cli when` gives each line in the window. How often the engine's day cells (what
// `dayvane-cli instances` prints) agree with them is counted.
RC_GTEST_PROP(IcalProperty, ExportedDaysInTheWindowAreTheDaysLinesShowOn, ())
{
    const LocalZone zone("UTC");
    const auto lines
        = *some<std::vector<std::string>>(1, 8, rc::gen::oneOf(genRuleLine(), genLine()));
    const Window w = *genWindow();
    const bool listed = *rc::gen::arbitrary<bool>();
    const auto doc = documentOf(lines, TDate::fromDayNumber(static_cast<std::uint32_t>(w.first)),
                                w.days, true);
    const Day last = doc->window().end.dayNumber;
    std::map<int, std::set<Day>> expected, instances;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::set<Day> days = lineDays(lines[i], {}, w.first, last);
        if (!days.empty())
            expected[static_cast<int>(i)] = days;
    }
    for (Day d = w.first; d <= last; ++d) {
        const TDate date = TDate::fromDayNumber(static_cast<std::uint32_t>(d));
        for (const Appt &a : doc->engine().dayCell(static_cast<int>(date.Month()),
                                                   static_cast<int>(date.DayOfMonth())))
            instances[a.line].insert(d);
    }
    RC_CLASSIFY(instances == expected, "the engine's cells agree");
    const ComponentPtr calendar = parsed(exportedCalendar(*doc, listed));
    RC_ASSERT(static_cast<bool>(calendar));
    std::map<int, std::set<Day>> got;
    for (icalcomponent *event : itemsOf(calendar.get(), ICAL_VEVENT_COMPONENT)) {
        const std::set<Day> days = libicalDays(event, w.first, last);
        if (!days.empty())
            got[std::stoi(xValue(event, "X-DAYVANE-LINE-NUMBER"))] = days;
    }
    RC_ASSERT(got == expected);
}

// (b) Export then import gives back every line that a save keeps: a line that is UTF-8
// byte for byte, another as its UTF-8 reading (or byte for byte where it holds control
// characters).
RC_GTEST_PROP(IcalProperty, ExportThenImportGivesTheSameLines, ())
{
    auto lines = *rc::gen::container<std::vector<std::string>>(
        rc::gen::oneOf(genLine(), genRuleLine(),
                       rc::gen::element<std::string>("\\C WORK=Work", "~deleted", "x\ry", "&z")));
    const Window w = *genWindow();
    const auto doc
        = documentOf(lines, TDate::fromDayNumber(static_cast<std::uint32_t>(w.first)), w.days);
    ImportRequest request;
    request.today = doc->window().today;
    const ImportResult result = ImportCalendar(exportedCalendar(*doc, false), request);
    RC_ASSERT(result.ok);
    std::vector<std::string> kept;
    for (const TimeString &line : doc->lines()) {
        if (line.text.empty() || line.text.front() != '~')
            kept.push_back(line.text);
    }
    RC_ASSERT(result.lines.size() == kept.size());
    RC_ASSERT(result.expanded == 0 && result.skipped == 0);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const std::string got = NormaliseInsertedText(result.lines[i]);
        RC_ASSERT(got == NormaliseInsertedText(kept[i])
                  || got == NormaliseInsertedText(Utf8Of(kept[i])));
        if (Utf8Of(kept[i]) == kept[i])
            RC_ASSERT(got == NormaliseInsertedText(kept[i]));
    }
}

namespace {

struct RuleEvent
{
    std::string text; // the VEVENT's content lines
    Day start;
    int following;
};

void showValue(const RuleEvent &e, std::ostream &os)
{
    os << e.text << "following " << e.following;
}

rc::Gen<std::string> genRuleParts()
{
    const auto weekday = rc::gen::inRange(0, 7);
    const auto ordinal = rc::gen::element(1, 2, 3, 4, -1, -1, 5, -2);
    const auto byDay
        = rc::gen::map(some<std::set<int>>(1, 4, weekday), [](const std::set<int> &days) {
              std::string list;
              for (int d : days)
                  list += (list.empty() ? "" : ",") + std::string(weekdayCodes[d]);
              return list;
          });
    return rc::gen::oneOf(
        rc::gen::apply(
            [](int interval, bool weekdays, const std::string &days) {
                return "FREQ=DAILY;INTERVAL=" + std::to_string(interval)
                    + (weekdays ? ";BYDAY=" + days : "");
            },
            rc::gen::inRange(1, 4), rc::gen::arbitrary<bool>(),
            rc::gen::oneOf(byDay, rc::gen::just(std::string("MO,TU,WE,TH,FR")))),
        rc::gen::apply(
            [](int interval, bool weekdays, const std::string &days) {
                return "FREQ=WEEKLY;INTERVAL=" + std::to_string(interval)
                    + (weekdays ? ";BYDAY=" + days : "");
            },
            rc::gen::inRange(1, 4), rc::gen::arbitrary<bool>(), byDay),
        rc::gen::apply(
            [](int interval, int form, int day, int n, int wd, int month) {
                std::string rule = "FREQ=MONTHLY;INTERVAL=" + std::to_string(interval);
                if (form == 1)
                    rule += ";BYMONTHDAY=" + std::to_string(day);
                else if (form == 2)
                    rule += ";BYDAY=" + std::to_string(n) + weekdayCodes[wd];
                else if (form == 3)
                    rule += ";BYDAY=" + std::string(weekdayCodes[wd])
                        + ";BYSETPOS=" + std::to_string(n);
                else if (form == 4)
                    rule += ";BYMONTH=" + std::to_string(month) + ";BYDAY=" + std::to_string(n)
                        + weekdayCodes[wd];
                else if (form == 5)
                    rule += ";BYMONTHDAY=1,15";
                return rule;
            },
            rc::gen::element(1, 1, 2, 3), rc::gen::inRange(0, 6),
            rc::gen::element(1, 15, 28, 29, 30, 31, -1), ordinal, weekday, rc::gen::inRange(1, 13)),
        rc::gen::apply(
            [](int form, int month, int day, int n, int wd) {
                std::string rule = "FREQ=YEARLY";
                if (form >= 1)
                    rule += ";BYMONTH=" + std::to_string(month);
                if (form == 2)
                    rule += ";BYMONTHDAY=" + std::to_string(day);
                if (form == 3)
                    rule += ";BYDAY=" + std::to_string(n) + weekdayCodes[wd];
                if (form == 4)
                    rule += ";INTERVAL=2";
                return rule;
            },
            rc::gen::inRange(0, 5), rc::gen::inRange(1, 13), rc::gen::element(1, 10, 28, -1),
            ordinal, weekday));
}

rc::Gen<RuleEvent> genRuleEvent()
{
    return rc::gen::apply(
        [](Day start, int minutes, const std::string &parts, int end, int count, int untilAfter,
           const std::vector<int> &leftOut, int following) {
            const bool timed = minutes >= 0;
            char clock[16];
            std::snprintf(clock, sizeof clock, "T%02d%02d00", minutes / 60, minutes % 60);
            const std::string at = timed ? clock : "";
            const std::string value = timed ? ":" : ";VALUE=DATE:";
            std::string rule = parts;
            if (end == 1)
                rule += ";COUNT=" + std::to_string(count);
            else if (end == 2)
                rule += ";UNTIL=" + basicDate(start + untilAfter) + (timed ? "T235959" : "");
            std::string text = "DTSTART" + value + basicDate(start) + at + "\r\n";
            if (following > 0 && !timed)
                text += "DTEND;VALUE=DATE:" + basicDate(start + following + 1) + "\r\n";
            text += "RRULE:" + rule + "\r\n";
            for (int k : leftOut)
                text += "EXDATE" + value + basicDate(start + k) + at + "\r\n";
            return RuleEvent {text, start, timed ? 0 : following};
        },
        genDay(), rc::gen::oneOf(rc::gen::just(-1), rc::gen::inRange(0, 1440)), genRuleParts(),
        rc::gen::inRange(0, 3), rc::gen::inRange(1, 40), rc::gen::inRange(0, 1500),
        some<std::vector<int>>(0, 3, rc::gen::inRange(0, 200)), rc::gen::element(0, 0, 0, 1, 2));
}

} // namespace

// (c) The lines an RRULE event imports to show on exactly the days libical expands from
// today through the two years an import looks at (said as a rule where the line language
// can, else one line per date).
RC_GTEST_PROP(IcalProperty, ImportedRulesShowOnLibicalsDays, ())
{
    const LocalZone zone("UTC");
    const RuleEvent e = *genRuleEvent();
    const Day today = e.start + *rc::gen::inRange(-500, 500);
    const std::string text
        = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:VEVENT\r\nUID:r\r\n"
        + e.text + "SUMMARY:x\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    ImportRequest request;
    request.today = TDate::fromDayNumber(static_cast<std::uint32_t>(today));
    const ImportResult result = ImportCalendar(text, request);
    RC_ASSERT(result.ok);
    TDate later = request.today;
    later.AddMonths(expandMonths);
    const Day from = today + e.following, to = Day(later.dayNumber) - 1;
    const ComponentPtr calendar = parsed(text);
    const std::set<Day> wanted
        = libicalDays(itemsOf(calendar.get(), ICAL_VEVENT_COMPONENT).at(0), from, to);
    std::set<Day> shown;
    for (const std::string &line : result.lines) {
        const std::set<Day> days = lineDays(line, {}, from, to);
        shown.insert(days.begin(), days.end());
    }
    RC_CLASSIFY(result.expanded == 0 && !result.lines.empty(), "said as a rule");
    RC_CLASSIFY(result.expanded == 1, "one line per date");
    RC_ASSERT(shown == wanted);
}
