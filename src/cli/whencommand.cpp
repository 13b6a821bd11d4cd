#include "whencommand.h"

#include "clioptions.h"
#include "clisettings.h"
#include "core/linereader.h"
#include "enginecommands.h"
#include "json.h"
#include "store/linedays.h"
#include "store/listwording.h"

#include <ostream>

namespace dvw {

namespace {

// The day before the same date ten years later.
std::int64_t tenYearsOn(const TDate &from)
{
    TDate later = from;
    later.AddMonths(120);
    return static_cast<std::int64_t>(later.dayNumber) - 1;
}

} // namespace

int runWhen(const CliOptions &o, std::ostream &out, std::ostream &err)
{
    if (o.positional.size() != 1) {
        err << "dayvane-cli: when takes one TEXT\n";
        return 2;
    }
    const CliSettings settings = loadCliSettings(o);
    SimpleReadContext context(settings.dateText);
    TimeString line(o.positional[0]);
    ApptInfo info;
    LineDates dates;
    ReadAppt(info, context, line, dates);
    const TDate from = o.from.value_or(systemDate());
    const auto count = static_cast<std::size_t>(o.count.value_or(10));
    for (const LineDay &day : LineDays(info, dates, from, tenYearsOn(from), count)) {
        IndexTy entry;
        entry.kind = DatedEntry;
        entry.mark = day.done ? 1 : 0;
        entry.age = static_cast<std::int32_t>(day.date.Year())
            - static_cast<std::int32_t>(line.birthDate.Year());
        const std::string text = ListEntryText(line, entry, false);
        if (o.text) {
            IndexTy heading;
            heading.kind = DateHeading;
            heading.month = static_cast<std::uint8_t>(day.date.Month());
            heading.day = static_cast<std::uint8_t>(day.date.DayOfMonth());
            out << DateHeadingText(day.date, heading, settings.dateText.european) << "\n"
                << (day.done ? "x " : "  ") << text << "\n\n";
        } else {
            out << JsonObject().addDate("date", day.date).addString("text", text).str() << "\n";
        }
    }
    return 0;
}

} // namespace dvw
