#include "apptreading.h"

#include "core/category.h"
#include "core/linereader.h"
#include "store/linedays.h"

namespace dvw {

namespace {

std::string ordinal(std::int64_t n)
{
    const std::int64_t tens = n % 100;
    const char *suffix = "th";
    if (tens < 11 || tens > 13) {
        switch (n % 10) {
        case 1:
            suffix = "st";
            break;
        case 2:
            suffix = "nd";
            break;
        case 3:
            suffix = "rd";
            break;
        default:
            break;
        }
    }
    return std::to_string(n) + suffix;
}

std::string dayName(int weekday) // 0 = Sunday
{
    return std::string(DayName(weekday == 0 ? 7 : weekday));
}

std::string plural(std::int64_t n, const char *word)
{
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// "5 March 1999"; a day the calendar lacks is said so.
std::string longDate(const TDate &date)
{
    if (!date.isValid())
        return "a day the calendar does not have";
    return std::to_string(date.DayOfMonth()) + " "
        + std::string(MonthName(static_cast<int>(date.Month()))) + " "
        + std::to_string(date.Year());
}

std::string monthDay(const TDate &date)
{
    const std::string day
        = date.hasFlag(TDate::LastDay) ? "the last day" : std::to_string(date.DayOfMonth());
    return day + " of " + std::string(MonthName(static_cast<int>(date.Month())));
}

std::string schedule(const ApptInfo &info)
{
    const TDate &main = info.mainDate;
    switch (info.kind) {
    case CategoryLine:
        return "a category definition";
    case Note:
        return "a note";
    case Unscheduled:
        return "no schedule: all free text, shown nowhere";
    case MonthlyInYear:
        return "day " + std::to_string(main.DayOfMonth()) + " of every month of "
            + std::to_string(main.Year());
    case Single:
        return "on " + longDate(main);
    case SingleShowFollowing:
        return "on " + longDate(main) + " and the " + plural(info.showFollowing, "day")
            + " following";
    case Monthly:
        return "day " + std::to_string(main.DayOfMonth()) + " of every month";
    case Anniversary:
        return "every year on " + monthDay(main);
    case Birthday:
        return "a birthday every year on " + monthDay(main) + ", born "
            + std::to_string(main.Year());
    case EveryNDays:
    case EveryNWeeks:
    case EveryNMonths: {
        static const char *const units[] = {"day", "week", "month"};
        std::string text = "every ";
        if (info.n != 1)
            text += ordinal(info.n) + " ";
        text += units[info.kind - EveryNDays];
        if (info.kind == EveryNWeeks && info.hasStart && info.startDate.isValid())
            text += " on " + dayName(static_cast<int>(info.startDate.WeekDay() % 7));
        if (info.n == 0)
            text += " (a count of 0 gives no days)";
        return text;
    }
    case WeeklyOnDays: {
        std::string days;
        for (int d = 0; d < 7; ++d) {
            if (!info.weekdays[static_cast<std::size_t>(d)])
                continue;
            days += (days.empty() ? "" : ", ") + dayName(d);
        }
        return "every " + days;
    }
    case NthWeekdayOfMonth: {
        std::string text = "the " + (info.n >= 5 ? std::string("last") : ordinal(info.n)) + " "
            + dayName(info.weekday) + " of "
            + (info.month == 0 ? std::string("every month") : std::string(MonthName(info.month)));
        if (info.offset != 0)
            text += ", " + plural(info.offset < 0 ? -std::int64_t(info.offset) : info.offset, "day")
                + (info.offset < 0 ? " earlier" : " later");
        return text;
    }
    default:
        return "no schedule";
    }
}

} // namespace

std::string ReadingOf(const std::string &line, ReadContext &context)
{
    TimeString appt(line);
    ApptInfo info;
    LineDates dates;
    ReadAppt(info, context, appt, dates);
    std::string text = schedule(info);
    const auto add = [&text](const std::string &part) { text += ", " + part; };
    if (info.kind == CategoryLine)
        return text;
    if (info.hasStart)
        text += " from " + longDate(info.startDate);
    if (info.hasEnd)
        text += " until " + longDate(info.endDate);
    if (info.category != 0)
        add("category " + UnpackCategory(info.category));
    if (info.showFollowing > 0 && info.kind != SingleShowFollowing)
        add("shown " + plural(info.showFollowing, "day") + " following");
    if (info.warnDays > 0)
        add("warned " + plural(info.warnDays, "day") + " ahead");
    if (info.time >= 0)
        add("at " + std::to_string(info.time / 60) + ":" + (info.time % 60 < 10 ? "0" : "")
            + std::to_string(info.time % 60));
    if (info.alarmAdvance >= 0)
        add("alarm " + plural(info.alarmAdvance, "minute") + " ahead");
    if (info.priority != 0)
        add("priority " + std::to_string(info.priority));
    if (info.nag)
        add("nagging until done");
    if (info.holiday)
        add("a holiday");
    if (info.observed)
        add("Saturdays shown on Friday, Sundays on Monday");
    if (info.weekdaysOnly)
        add("weekdays only");
    if (info.unimportant)
        add("unimportant");
    if (info.noPrint)
        add("not printed");
    if (info.completed)
        add("done");
    if (!dates.done.empty())
        add(plural(static_cast<std::int64_t>(dates.done.size()), "date") + " done");
    if (!dates.excluded.empty())
        add(plural(static_cast<std::int64_t>(dates.excluded.size()), "date") + " left out");
    return text;
}

std::string NextDatesOf(const std::string &line, ReadContext &context, const TDate &from, int count)
{
    TimeString appt(line);
    ApptInfo info;
    LineDates dates;
    ReadAppt(info, context, appt, dates);
    if (info.kind == Note || info.kind == Unscheduled || info.kind == CategoryLine)
        return {};
    TDate later = from;
    later.AddMonths(120);
    const std::vector<LineDay> days = LineDays(info, dates, from, std::int64_t(later.dayNumber) - 1,
                                               static_cast<std::size_t>(std::max(0, count)));
    if (days.empty())
        return "No days in the next ten years.";
    std::string text = "Next:";
    for (std::size_t i = 0; i < days.size(); ++i) {
        const TDate &d = days[i].date;
        text += (i == 0 ? " " : ", ") + std::string(ShortDayName(static_cast<int>(d.WeekDay())))
            + " " + std::to_string(d.DayOfMonth()) + " "
            + std::string(ShortMonthName(static_cast<int>(d.Month()))) + " "
            + std::to_string(d.Year()) + (days[i].done ? " (done)" : "");
    }
    return text;
}

} // namespace dvw
