#pragma once

#include "core/tdate.h"
#include "store/appt.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace dvw {

class TApptDocument;

inline constexpr int minutesPerDay = 1440;

// What the local clock shows, and a steady count of minutes that changes of the local
// offset (summer time, travel) do not move.
struct ClockReading
{
    TDate date;
    int minute = 0; // 0..1439 of the local day
    std::int64_t epochMinute = 0; // minutes since the epoch, in universal time

    // The local moment as one number: day number * 1440 + minute.
    std::int64_t localMinute() const;
};

// One open document as the alarm check sees it.
struct AlarmDocument
{
    const TApptDocument *doc = nullptr;
    std::uint64_t id = 0; // stable while the document is open
    bool skipped = false; // a file view is open on it: its alarms stay silent
};

// One alarm: a timed instance whose alarm moment has come.
struct Alarm
{
    std::size_t document = 0; // position in the documents checked
    std::int32_t line = -1;
    TDate date; // the day it sounds
    int alarmMinute = 0; // 0..1439 on that day
    TDate instanceDate; // the day of the appointment itself
    int time = 0; // the appointment's own minute
    bool late = false; // it sounds after its moment (the machine slept, the tick was late)
    std::string text; // the line's free text, as stored

    std::int64_t localMinute() const
    {
        return static_cast<std::int64_t>(date.dayNumber) * minutesPerDay + alarmMinute;
    }
};

// Minutes between an alarm and its appointment: the line's own advance (-1 when it has
// none: the ADVANCE setting), held to one day either way. The reader keeps the number's
// 32 bits, so a huge typed advance reads as unsigned and is held to a day as well.
std::int64_t AlarmAdvance(std::int32_t lineAdvance, int advanceSetting);

// The instances of open documents on days, in the order each day shows them: a document's
// day cell while the day lies in its window, its lead-in cell in the lead-in, else the day
// expanded on its own (a cell keyed by month and day would give another year's date).
// Expanding reads every line, so such days are remembered until the document's line count
// or window changes or forget() is called (a line changed, a filter changed).
class DayInstances
{
public:
    const std::vector<Appt> &of(const AlarmDocument &doc, TDate date);
    void forget() { m_alone.clear(); }
    void forgetBefore(std::uint32_t dayNumber);

private:
    struct Alone
    {
        bool filled = false;
        std::size_t lines = 0;
        std::uint32_t windowStart = 0;
        int windowDays = 0;
        std::vector<Appt> appts;
    };
    std::map<std::pair<std::uint64_t, std::uint32_t>, Alone> m_alone; // (id, day number)
};

// The document's instances on one date, as DayInstances gives them, remembering nothing.
std::vector<Appt> InstancesOn(const TApptDocument &doc, TDate date);

// The alarms that sound on `day` at minutes from..to (inclusive, 0..1439), in the order
// they sound, then by document, then by the day's order. An alarm minute before 0:00
// sounds on the day before, so the next day's instances are looked at too.
std::vector<Alarm> AlarmsOn(std::span<const AlarmDocument> docs, TDate day, int advanceSetting,
                            int from = 0, int to = minutesPerDay - 1,
                            DayInstances *remembered = nullptr);

// The alarms whose moments lie in local minutes [from, to] (day number * 1440 + minute),
// in the order they sound, each (document, line, day, minute) once, marked late when its
// moment lies before `now`. The caller bounds the span: every day in it is looked at.
std::vector<Alarm> AlarmsBetween(std::span<const AlarmDocument> docs, int advanceSetting,
                                 std::int64_t from, std::int64_t to, std::int64_t now,
                                 DayInstances *remembered = nullptr);

// What "Show current alarms" lists: a heading, then for each alarm that sounds today its
// alarm time, a tab and its free text; "No alarms set for today." when there is none.
std::string CurrentAlarmsText(std::span<const AlarmDocument> docs, TDate today, int advanceSetting);
// "Alarms for December 7, 2026".
std::string CurrentAlarmsCaption(TDate today);
// What an alarm window shows: the free text, and for a late alarm when it was due.
std::string AlarmMessage(const Alarm &alarm);

// The status bar's alarm pane while a countdown runs: "Timer: 5 minutes", "Timer: 1 minute ".
std::string TimerPaneText(std::int64_t minutesLeft);

// The alarm clock's rules, fed with what the clock shows at each tick and the open
// documents; it owns no timer and no window. The caller rolls the documents over to a
// new day (dayChange) before it checks.
class AlarmClock
{
public:
    // Catching up after a sleep looks back at most one day.
    static constexpr std::int64_t maxCatchUpMinutes = minutesPerDay;

    // Start-up does not replay the morning: the first check covers the start-up minute only.
    explicit AlarmClock(const ClockReading &start);

    TDate today() const { return m_today; }
    // The new local date when it differs from the program's today (a tick may notice a
    // midnight late, or a date set back); today becomes that date.
    std::optional<TDate> dayChange(const ClockReading &now);

    // The next check runs even if the minute has not changed (a line was added, a
    // countdown set). A minute that already sounded does not sound again.
    // Days expanded outside a window are expanded again.
    void requestRecheck()
    {
        m_recheck = true;
        m_days.forget();
    }

    // A countdown of 1..1439 minutes from now; other values leave it as it was. Its
    // deadline is absolute, so a clock change or a sleep does not stretch it.
    bool setCountdown(const ClockReading &now, std::int64_t minutes);
    bool countdownActive() const { return m_countdown; }
    // Whole minutes until the deadline, at least 1 while the countdown runs.
    std::int64_t countdownMinutesLeft(const ClockReading &now) const;

    struct Settings
    {
        bool enabled = true; // ALARM
        int advance = 5; // ADVANCE
    };

    struct CheckResult
    {
        bool ran = false; // false: same minute and no re-check; nothing else is set
        bool timerFired = false;
        std::vector<Alarm> alarms;
        std::optional<int> nextAlarm; // the next alarm minute of today, after now
        std::string pane; // the alarm pane's text
    };

    // Whether check would run: the minute changed or a re-check was asked for.
    bool needsCheck(const ClockReading &now) const;
    // Checks every minute in (last checked, now]; a clock set back checks nothing new.
    CheckResult check(const ClockReading &now, std::span<const AlarmDocument> docs,
                      const Settings &settings);

private:
    std::vector<Alarm> dueAlarms(const ClockReading &now, std::span<const AlarmDocument> docs,
                                 const Settings &settings, std::int64_t from, std::int64_t to);
    std::string paneText(const ClockReading &now, std::span<const AlarmDocument> docs,
                         const Settings &settings, const std::optional<int> &next) const;
    void forgetBefore(std::uint32_t dayNumber);

    TDate m_today;
    std::int64_t m_lastSeen; // local minute of the last check that ran
    std::int64_t m_lastChecked; // local minutes up to this one have been checked
    bool m_recheck = false;
    DayInstances m_days;
    bool m_countdown = false;
    std::int64_t m_deadline = 0; // epoch minute
    // Each (document, line, day, minute) sounds once.
    std::set<std::tuple<std::uint32_t, std::uint64_t, std::int32_t, int>> m_sounded;
};

} // namespace dvw
