#include "alarmrules.h"

#include "core/datetext.h"
#include "settings/settingslimits.h"
#include "store/memorysource.h"
#include "store/occurrenceengine.h"
#include "store/tapptdocument.h"

#include <algorithm>
#include <limits>

namespace dvw {

namespace {

// Floor division and remainder for minutes that may lie before 0:00.
std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

bool inRange(const TDate &d, const TDate &lo, const TDate &hi)
{
    return lo.dayNumber <= d.dayNumber && d.dayNumber <= hi.dayNumber;
}

std::vector<Appt> instancesOfDayAlone(const TApptDocument &doc, TDate date);

// The document's cell of the date while the date is in its window or lead-in, else null.
const std::vector<Appt> *cellOf(const TApptDocument &doc, TDate date)
{
    const DateWindow &w = doc.engine().window();
    if (inRange(date, w.start, w.end))
        return &doc.engine().dayCell(static_cast<int>(date.Month()),
                                     static_cast<int>(date.DayOfMonth()));
    if (w.start.dayNumber > 0
        && inRange(date, w.leadInStart, TDate::fromDayNumber(w.start.dayNumber - 1)))
        return &doc.engine().leadInCell(static_cast<int>(date.DayOfMonth()));
    return nullptr;
}

// Calls f(document, instance, line, minute) for each timed instance of `instanceDay` whose
// alarm moment falls on `soundDay` at a minute in [from, to].
template<typename F>
void forEachAlarm(std::span<const AlarmDocument> docs, DayInstances &days, TDate instanceDay,
                  TDate soundDay, int advanceSetting, int from, int to, F &&f)
{
    const std::int64_t dayShift = static_cast<std::int64_t>(soundDay.dayNumber)
        - static_cast<std::int64_t>(instanceDay.dayNumber); // 0 or -1
    const std::int64_t advance = AlarmAdvance(-1, advanceSetting);
    for (std::size_t i = 0; i < docs.size(); ++i) {
        if (docs[i].doc == nullptr || docs[i].skipped)
            continue;
        const auto &lines = docs[i].doc->lines();
        for (const Appt &a : days.of(docs[i], instanceDay)) {
            if (a.line < 0 || static_cast<std::size_t>(a.line) >= lines.size())
                continue;
            const TimeString &ts = lines[static_cast<std::size_t>(a.line)];
            if (ts.time < 0)
                continue;
            const std::int64_t minute = std::int64_t {ts.time}
                - (ts.alarmAdvance == -1 ? advance : AlarmAdvance(ts.alarmAdvance, advanceSetting));
            const std::int64_t offset = floorDiv(minute, minutesPerDay);
            if (offset != dayShift)
                continue;
            const std::int64_t onDay = minute - offset * minutesPerDay; // [0, 1439]
            if (onDay >= from && onDay <= to)
                f(i, a, ts, static_cast<int>(onDay));
        }
    }
}

// The alarms of `instanceDay`'s timed instances whose moment falls on `soundDay`.
void collect(std::span<const AlarmDocument> docs, DayInstances &days, TDate instanceDay,
             TDate soundDay, int advanceSetting, int from, int to, std::vector<Alarm> &out)
{
    forEachAlarm(docs, days, instanceDay, soundDay, advanceSetting, from, to,
                 [&](std::size_t doc, const Appt &a, const TimeString &ts, int onDay) {
                     Alarm alarm;
                     alarm.document = doc;
                     alarm.line = a.line;
                     alarm.date = soundDay;
                     alarm.alarmMinute = onDay;
                     alarm.instanceDate = instanceDay;
                     alarm.time = ts.time;
                     const auto start = static_cast<std::size_t>(std::clamp<std::int32_t>(
                         ts.textStart, 0, static_cast<std::int32_t>(ts.text.size())));
                     alarm.text = ts.text.substr(start);
                     out.push_back(std::move(alarm));
                 });
}

// The first alarm minute of `day` in [from, 1439], if any.
std::optional<int> firstAlarmMinute(std::span<const AlarmDocument> docs, DayInstances &days,
                                    TDate day, int advanceSetting, int from)
{
    std::optional<int> first;
    const auto keep = [&](std::size_t, const Appt &, const TimeString &, int onDay) {
        if (!first || onDay < *first)
            first = onDay;
    };
    forEachAlarm(docs, days, day, day, advanceSetting, from, minutesPerDay - 1, keep);
    forEachAlarm(docs, days, TDate::fromDayNumber(day.dayNumber + 1), day, advanceSetting, from,
                 minutesPerDay - 1, keep);
    return first;
}

// A date outside the window: the document's lines expanded over that one day by the same
// engine, with the document's filters and category selection. The day is expanded as a
// window that starts on it, which is what the window shows once a day change makes that
// day the start (a day count without a start date counts from the first of its month).
std::vector<Appt> instancesOfDayAlone(const TApptDocument &doc, TDate date)
{
    MemorySource source(doc.dateSettings());
    std::vector<std::string> texts;
    texts.reserve(doc.lines().size());
    for (const TimeString &line : doc.lines())
        texts.push_back(line.text);
    source.setLines(texts);
    source.ScanCategories();
    source.setSelectionMode(doc.showsAllCategories(), doc.showsDefaultCategory());
    OccurrenceEngine engine(source);
    EngineSettings settings = doc.engine().settings();
    settings.window = DateWindow::make(doc.window().today, date, 1);
    engine.setSettings(settings);
    engine.BuildInstances();
    return engine.dayCell(static_cast<int>(date.Month()), static_cast<int>(date.DayOfMonth()));
}

} // namespace

std::int64_t ClockReading::localMinute() const
{
    return static_cast<std::int64_t>(date.dayNumber) * minutesPerDay + minute;
}

std::int64_t AlarmAdvance(std::int32_t lineAdvance, int advanceSetting)
{
    if (lineAdvance == -1)
        return usableAdvanceMinutes(advanceSetting);
    return std::min<std::int64_t>(static_cast<std::uint32_t>(lineAdvance), minutesPerDay);
}

const std::vector<Appt> &DayInstances::of(const AlarmDocument &doc, TDate date)
{
    static const std::vector<Appt> none;
    if (doc.doc == nullptr || !date.isValid())
        return none;
    if (const std::vector<Appt> *cell = cellOf(*doc.doc, date))
        return *cell;
    const DateWindow &w = doc.doc->window();
    Alone &alone = m_alone[{doc.id, date.dayNumber}];
    if (!alone.filled || alone.lines != doc.doc->lines().size()
        || alone.windowStart != w.start.dayNumber || alone.windowDays != w.days) {
        alone.appts = instancesOfDayAlone(*doc.doc, date);
        alone.lines = doc.doc->lines().size();
        alone.windowStart = w.start.dayNumber;
        alone.windowDays = w.days;
        alone.filled = true;
    }
    return alone.appts;
}

void DayInstances::forgetBefore(std::uint32_t dayNumber)
{
    std::erase_if(m_alone,
                  [dayNumber](const auto &entry) { return entry.first.second < dayNumber; });
}

std::vector<Appt> InstancesOn(const TApptDocument &doc, TDate date)
{
    DayInstances days;
    return days.of({&doc, 0, false}, date);
}

std::vector<Alarm> AlarmsOn(std::span<const AlarmDocument> docs, TDate day, int advanceSetting,
                            int from, int to, DayInstances *remembered)
{
    DayInstances once;
    DayInstances &days = remembered != nullptr ? *remembered : once;
    std::vector<Alarm> out;
    if (!day.isValid())
        return out;
    collect(docs, days, day, day, advanceSetting, from, to, out);
    collect(docs, days, TDate::fromDayNumber(day.dayNumber + 1), day, advanceSetting, from, to,
            out);
    // Stable: documents in the order given, then each day's own order.
    std::stable_sort(out.begin(), out.end(), [](const Alarm &a, const Alarm &b) {
        if (a.alarmMinute != b.alarmMinute)
            return a.alarmMinute < b.alarmMinute;
        return a.document < b.document;
    });
    return out;
}

std::vector<Alarm> AlarmsBetween(std::span<const AlarmDocument> docs, int advanceSetting,
                                 std::int64_t from, std::int64_t to, std::int64_t now,
                                 DayInstances *remembered)
{
    std::vector<Alarm> due;
    const std::int64_t firstDay = std::max<std::int64_t>(1, floorDiv(from, minutesPerDay));
    const std::int64_t lastDay = floorDiv(to, minutesPerDay);
    for (std::int64_t day = firstDay; day <= lastDay; ++day) {
        const int lo = day == firstDay
            ? static_cast<int>(std::max<std::int64_t>(0, from - day * minutesPerDay))
            : 0;
        const int hi
            = day == lastDay ? static_cast<int>(to - day * minutesPerDay) : minutesPerDay - 1;
        const TDate date = TDate::fromDayNumber(static_cast<std::uint32_t>(day));
        std::vector<Alarm> ofDay = AlarmsOn(docs, date, advanceSetting, lo, hi, remembered);
        // A line can land twice on one day (a weekend shift onto a day it has anyway).
        const auto twice
            = std::unique(ofDay.begin(), ofDay.end(), [](const Alarm &a, const Alarm &b) {
                  return a.document == b.document && a.line == b.line
                      && a.alarmMinute == b.alarmMinute;
              });
        ofDay.erase(twice, ofDay.end());
        for (Alarm &a : ofDay) {
            a.late = a.localMinute() < now;
            due.push_back(std::move(a));
        }
    }
    return due;
}

std::string CurrentAlarmsText(std::span<const AlarmDocument> docs, TDate today, int advanceSetting)
{
    std::string text = "Alarm\tAppointment\r\n\r\n";
    const std::vector<Alarm> alarms = AlarmsOn(docs, today, advanceSetting);
    for (const Alarm &a : alarms)
        text += FormatTime(a.alarmMinute) + "\t" + a.text + "\r\n";
    if (alarms.empty())
        text += "No alarms set for today.";
    return text;
}

std::string CurrentAlarmsCaption(TDate today)
{
    return "Alarms for " + std::string(MonthName(static_cast<int>(today.Month()))) + " "
        + std::to_string(today.DayOfMonth()) + ", " + std::to_string(today.Year());
}

std::string AlarmMessage(const Alarm &alarm)
{
    if (!alarm.late)
        return alarm.text;
    return alarm.text + "\r\n(late: due at " + FormatTime(alarm.alarmMinute) + ")";
}

std::string TimerPaneText(std::int64_t minutesLeft)
{
    return "Timer: " + std::to_string(minutesLeft) + " minute" + (minutesLeft > 1 ? "s" : " ");
}

AlarmClock::AlarmClock(const ClockReading &start)
    : m_today(start.date)
    , m_lastSeen(start.localMinute() - 1)
    , m_lastChecked(start.localMinute() - 1)
{ }

std::optional<TDate> AlarmClock::dayChange(const ClockReading &now)
{
    if (now.date == m_today || !now.date.isValid())
        return std::nullopt;
    m_today = now.date;
    return m_today;
}

bool AlarmClock::setCountdown(const ClockReading &now, std::int64_t minutes)
{
    if (minutes <= 0 || minutes >= minutesPerDay)
        return false;
    m_countdown = true;
    m_deadline = now.epochMinute + minutes;
    m_recheck = true;
    return true;
}

std::int64_t AlarmClock::countdownMinutesLeft(const ClockReading &now) const
{
    if (!m_countdown)
        return 0;
    return std::max<std::int64_t>(1, m_deadline - now.epochMinute);
}

bool AlarmClock::needsCheck(const ClockReading &now) const
{
    return m_recheck || now.localMinute() != m_lastSeen;
}

AlarmClock::CheckResult AlarmClock::check(const ClockReading &now,
                                          std::span<const AlarmDocument> docs,
                                          const Settings &settings)
{
    CheckResult result;
    const std::int64_t local = now.localMinute();
    if (!needsCheck(now))
        return result;
    result.ran = true;
    const bool recheck = m_recheck;
    m_lastSeen = local;
    m_recheck = false;

    if (m_countdown && now.epochMinute >= m_deadline) {
        m_countdown = false;
        result.timerFired = true;
    }

    // Forward: the minutes since the last check, at most a day of them. Set back: nothing
    // new, and the minutes from here on are checked again (each alarm sounds once anyway).
    std::int64_t from = std::max(m_lastChecked + 1, local - maxCatchUpMinutes + 1);
    if (recheck)
        from = std::min(from, local);
    const std::int64_t to = local;
    m_lastChecked = local;

    forgetBefore(now.date.dayNumber - 1);
    if (settings.enabled && from <= to)
        result.alarms = dueAlarms(now, docs, settings, from, to);

    if (settings.enabled && now.minute + 1 < minutesPerDay)
        result.nextAlarm
            = firstAlarmMinute(docs, m_days, now.date, settings.advance, now.minute + 1);
    result.pane = paneText(now, docs, settings, result.nextAlarm);
    return result;
}

std::vector<Alarm> AlarmClock::dueAlarms(const ClockReading &now,
                                         std::span<const AlarmDocument> docs,
                                         const Settings &settings, std::int64_t from,
                                         std::int64_t to)
{
    std::vector<Alarm> due;
    for (Alarm &a : AlarmsBetween(docs, settings.advance, from, to, now.localMinute(), &m_days)) {
        if (m_sounded
                .insert(
                    std::make_tuple(a.date.dayNumber, docs[a.document].id, a.line, a.alarmMinute))
                .second)
            due.push_back(std::move(a));
    }
    return due;
}

std::string AlarmClock::paneText(const ClockReading &now, std::span<const AlarmDocument> docs,
                                 const Settings &settings, const std::optional<int> &next) const
{
    if (m_countdown)
        return TimerPaneText(countdownMinutesLeft(now));
    if (!settings.enabled)
        return "Alarm off";
    if (std::any_of(docs.begin(), docs.end(), [](const AlarmDocument &d) { return d.skipped; }))
        return "Alarms disabled in this view";
    if (!next)
        return "No alarms";
    return "Next alarm  " + FormatTime(*next);
}

void AlarmClock::forgetBefore(std::uint32_t dayNumber)
{
    m_days.forgetBefore(dayNumber);
    m_sounded.erase(m_sounded.begin(),
                    m_sounded.lower_bound(std::make_tuple(dayNumber, std::uint64_t {0},
                                                          std::numeric_limits<std::int32_t>::min(),
                                                          std::numeric_limits<int>::min())));
}

} // namespace dvw
