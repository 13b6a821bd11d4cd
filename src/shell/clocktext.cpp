#include "clocktext.h"

#include "core/datetext.h"

namespace dvw {

std::string StatusDateText(const TDate &date)
{
    if (!date.isValid())
        return {};
    std::string text(DayName(static_cast<int>(date.WeekDay())));
    text += "   ";
    text += MonthName(static_cast<int>(date.Month()));
    text += ' ';
    text += std::to_string(date.DayOfMonth());
    text += ", ";
    text += std::to_string(date.Year());
    return text;
}

std::string StatusTimeText(int hour, int minute)
{
    return FormatTime(hour * 60 + minute);
}

} // namespace dvw
