#include "listwording.h"

#include <algorithm>

namespace dvw {

std::uint32_t HeadingYear(const TDate &windowStart, int month, int day)
{
    std::uint32_t m, d, y;
    windowStart.SplitDate(m, d, y);
    const auto hm = static_cast<std::uint32_t>(month);
    const auto hd = static_cast<std::uint32_t>(day);
    const bool before = hm < m || (hm == m && hd < d);
    return before ? y + 1 : y;
}

TDate HeadingDate(const TDate &windowStart, const IndexTy &heading)
{
    return TDate(heading.day, heading.month, HeadingYear(windowStart, heading.month, heading.day));
}

std::string DateHeadingText(const TDate &windowStart, const IndexTy &heading, bool european)
{
    const TDate date = HeadingDate(windowStart, heading);
    const std::string weekday(DayName(static_cast<int>(date.WeekDay())));
    const std::string month(MonthName(heading.month));
    const std::string day = std::to_string(heading.day);
    const std::string year = std::to_string(date.Year());
    if (european)
        return weekday + " " + day + " " + month + ", " + year;
    return weekday + " " + month + " " + day + ", " + year;
}

std::string_view EntryText(const TimeString &line)
{
    std::string_view text(line.text);
    text.remove_prefix(
        std::min(text.size(), static_cast<std::size_t>(std::max(0, line.textStart))));
    return text;
}

std::string_view ShownLines(std::string_view text, bool multiline)
{
    return multiline ? text : text.substr(0, text.find('\r'));
}

std::string WithAge(std::string_view text, std::int32_t age)
{
    const std::size_t open = text.find('(');
    const std::size_t close = open == std::string_view::npos ? open : text.find(')', open);
    if (close == std::string_view::npos)
        return std::string(text);
    std::string out(text.substr(0, open));
    out += "(" + std::to_string(age) + ")";
    out.append(text.substr(close + 1));
    return out;
}

std::string ListEntryText(const TimeString &line, const IndexTy &entry, bool multiline)
{
    const std::string_view text = EntryText(line);
    if (line.kind != Birthday)
        return std::string(ShownLines(text, multiline));
    return std::string(ShownLines(WithAge(text, entry.age), multiline));
}

} // namespace dvw
