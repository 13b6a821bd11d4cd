#include "dayview.h"

#include "platform/displaytext.h"
#include "store/tapptdocument.h"

namespace dvw {

namespace {

QString captionFor(const TDate &day)
{
    std::uint32_t month = 0;
    std::uint32_t dayOfMonth = 0;
    std::uint32_t year = 0;
    day.SplitDate(month, dayOfMonth, year);
    const std::string_view name = MonthName(static_cast<int>(month));
    return QStringLiteral("%1 %2, %3")
        .arg(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())))
        .arg(dayOfMonth)
        .arg(year);
}

QString description(const TimeString &line)
{
    const auto start = static_cast<std::size_t>(std::max(0, line.textStart));
    return start < line.text.size() ? DisplayText(std::string_view(line.text).substr(start))
                                    : QString();
}

} // namespace

DayViewContent DayViewFor(TApptDocument &doc, const TDate &day)
{
    DayViewContent content;
    content.caption = captionFor(day);
    const DateWindow &window = doc.engine().window();
    if (!day.isValid() || day < window.leadInStart || day > window.end) {
        content.text = QString::fromLatin1(dayNotInRangeText);
        return content;
    }
    const int dayOfMonth = static_cast<int>(day.DayOfMonth());
    const std::vector<Appt> &cell = day < window.start
        ? doc.engine().leadInCell(dayOfMonth)
        : doc.engine().dayCell(static_cast<int>(day.Month()), dayOfMonth);
    if (cell.empty()) {
        content.text = QString::fromLatin1(noAppointmentsText);
        return content;
    }
    const std::vector<TimeString> &lines = doc.lineTable();
    for (const Appt &appt : cell) {
        if (appt.line >= 0 && static_cast<std::size_t>(appt.line) < lines.size())
            content.text += description(lines[static_cast<std::size_t>(appt.line)]);
        content.text += QStringLiteral("\r\n");
    }
    return content;
}

} // namespace dvw
