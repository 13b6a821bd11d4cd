#include "apptmeaning.h"

namespace dvw {

namespace {

class Fields
{
public:
    Fields &add(const char *name, std::int64_t value)
    {
        m_text += name;
        m_text += '=';
        m_text += std::to_string(value);
        m_text += ' ';
        return *this;
    }
    Fields &add(const char *name, const TDate &date)
    {
        m_text += name;
        m_text += '=';
        m_text += std::to_string(date.dayNumber) + "/" + std::to_string(date.flags);
        m_text += ' ';
        return *this;
    }
    Fields &add(const char *name, const DateList &list)
    {
        m_text += name;
        m_text += "=[";
        for (const TDate &date : list.dates())
            m_text += std::to_string(date.dayNumber) + "/" + std::to_string(date.flags) + ",";
        m_text += "] ";
        return *this;
    }
    std::string text() const { return m_text; }

private:
    std::string m_text;
};

} // namespace

std::string DescribeMeaning(const ApptInfo &info, const TimeString &appt, const DateList &done,
                            const DateList &excluded)
{
    const bool single = info.kind == Single || info.kind == SingleShowFollowing;
    // A note's sort key is set only by a birth code in front of it; one with an impossible
    // date leaves no trace in the record, so a rewritten note may lose that key.
    const bool noteWithoutBirthDate = info.kind == Note && info.mainDate.dayNumber == 0;
    std::int32_t weekdays = 0;
    for (std::size_t d = 0; d < info.weekdays.size(); ++d)
        weekdays |= info.weekdays[d] ? 1 << d : 0;

    Fields f;
    f.add("kind", info.kind)
        .add("completed", info.completed)
        .add("start", info.hasStart ? info.startDate : TDate())
        .add("hasStart", info.hasStart)
        .add("end", info.hasEnd ? info.endDate : TDate())
        .add("hasEnd", info.hasEnd)
        .add("main", info.mainDate)
        .add("n", info.n)
        .add("month", info.month)
        .add("weekday", info.kind == WeeklyOnDays ? 0 : info.weekday)
        .add("weekdays", weekdays)
        .add("offset", single ? 0 : info.offset)
        .add("showFollowing", info.showFollowing)
        .add("warnDays", info.warnDays)
        .add("holiday", info.holiday)
        .add("markL", info.markL)
        .add("nag", info.nag)
        .add("unimportant", info.unimportant)
        .add("hasExcluded", info.hasExcluded)
        .add("done", info.done && !done.empty())
        .add("observed", info.observed)
        .add("weekdaysOnly", info.weekdaysOnly)
        .add("priority", info.priority)
        .add("noPrint", info.noPrint)
        .add("category", info.category)
        .add("time", info.time)
        .add("alarmAdvance", info.alarmAdvance)
        .add("doneDates", done)
        .add("excludedDates", excluded)
        .add("line.time", appt.time)
        .add("line.alarmAdvance", appt.alarmAdvance)
        .add("line.shade", appt.shade)
        .add("line.category", appt.category)
        .add("line.birthDate", appt.birthDate)
        .add("line.noPrint", appt.noPrint)
        .add("line.holiday", appt.holiday)
        .add("line.kind", appt.kind)
        .add("line.sortKey", noteWithoutBirthDate ? 0 : appt.sortKey);
    const auto from = static_cast<std::size_t>(appt.textStart);
    return f.text() + "text=" + (from <= appt.text.size() ? appt.text.substr(from) : "?");
}

} // namespace dvw
