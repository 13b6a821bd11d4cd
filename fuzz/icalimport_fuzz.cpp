// Arbitrary bytes as a calendar to import. The import must never crash, hang or touch
// memory it does not own; a calendar it refuses gives no lines and says why; one it reads
// gives at most its bounded share of lines per item, and its lines, exported and imported
// again, come back unchanged (a line that is no UTF-8 as its UTF-8 reading).
#include "fuzzsettings.h"
#include "ical/eventtext.h"
#include "ical/icalexport.h"
#include "ical/icalimport.h"
#include "store/filerules.h"
#include "store/tapptdocument.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// Export then import: the carried lines come back as they went.
void roundTrip(const std::vector<std::string> &lines, const dvw::ImportRequest &request)
{
    dvw::DocumentSettings settings;
    settings.dateText = request.dateText;
    settings.today = settings.start = request.today;
    settings.days = 31;
    dvw::TApptDocument doc(settings);
    doc.AppendLines(lines);
    dvw::ExportRequest out;
    out.today = out.first = request.today;
    out.last = doc.window().end;
    const dvw::ImportResult back = dvw::ImportCalendar(dvw::ExportCalendar(doc, out), request);
    if (!back.ok)
        std::abort();
    std::size_t k = 0;
    for (const dvw::TimeString &line : doc.lines()) {
        if (!line.text.empty() && line.text.front() == '~')
            continue;
        if (k >= back.lines.size())
            std::abort();
        const std::string again = dvw::NormaliseInsertedText(back.lines[k]);
        if (again != line.text && again != dvw::NormaliseInsertedText(dvw::Utf8Of(line.text)))
            std::abort();
        ++k;
    }
    if (k != back.lines.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    // The first byte picks the date settings, the second today; the rest is the calendar.
    dvw::ImportRequest request;
    request.dateText = dvw::fuzz::dateSettingsFromByte(data[0]);
    request.today = dvw::TDate::fromDayNumber(dvw::DayNumber(1, 1, 2020) + data[1] * 29u);
    request.categories = {{0x574F524Bu, "Work"}};
    const std::string_view text(reinterpret_cast<const char *>(data + 2), size - 2);
    const dvw::ImportResult result = dvw::ImportCalendar(text, request);
    if (!result.ok) {
        if (result.error.empty() || !result.lines.empty())
            std::abort();
        return 0;
    }
    if (result.expanded > result.imported || result.imported < 0 || result.skipped < 0)
        std::abort();
    const auto items = static_cast<std::size_t>(result.imported);
    if (result.lines.size() > items * static_cast<std::size_t>(dvw::maxLinesPerEvent))
        std::abort();
    if (result.lines.size() <= 200)
        roundTrip(result.lines, request);
    return 0;
}
