#include "startdate.h"

#include "core/datetext.h"
#include "core/textcursor.h"

namespace dvw {

std::optional<TDate> ReadStartDate(std::string_view text, const DateTextSettings &settings)
{
    TextCursor cursor {text};
    TDate date;
    if (!ReadDate(cursor, date, settings))
        return std::nullopt;
    cursor.skipBlanks();
    if (!cursor.atEnd())
        return std::nullopt;
    if (!date.isValid() || date.hasFlag(TDate::NoYear) || date.hasFlag(TDate::AnyMonth))
        return std::nullopt;
    const std::uint32_t year = date.Year();
    if (year < firstStartYear || year > lastStartYear)
        return std::nullopt;
    return date;
}

std::string StartDateText(const TDate &date, const DateTextSettings &settings)
{
    std::string text = FormatDate(date, settings);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string StartDateWeekday(std::string_view text, const DateTextSettings &settings)
{
    const std::optional<TDate> date = ReadStartDate(text, settings);
    if (!date)
        return {};
    return std::string(DayName(static_cast<int>(date->WeekDay())).substr(0, 3));
}

std::string StepStartDate(std::string_view text, int days, const TDate &today,
                          const DateTextSettings &settings)
{
    const std::optional<TDate> date = ReadStartDate(text, settings);
    if (!date)
        return StartDateText(today, settings);
    const std::int64_t moved = std::int64_t {date->dayNumber} + days;
    const TDate first(1, 1, firstStartYear);
    const TDate last(31, 12, lastStartYear);
    if (moved < first.dayNumber || moved > last.dayNumber)
        return StartDateText(*date, settings);
    return StartDateText(TDate::fromDayNumber(static_cast<std::uint32_t>(moved)), settings);
}

} // namespace dvw
