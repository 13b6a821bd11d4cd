// Arbitrary bytes as one appointment line, read under every date setting. The reader must
// never fail, never read out of bounds, and leave every position inside the line; the
// done and excluded dates it hands back are sorted and agree with the record's marks.
#include "core/linereader.h"
#include "fuzzsettings.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the settings, the rest is the line.
    const dvw::DateTextSettings settings = dvw::fuzz::dateSettingsFromByte(data[0]);
    dvw::SimpleReadContext doc(settings);

    dvw::TimeString line(std::string(reinterpret_cast<const char *>(data + 1), size - 1));
    dvw::ApptInfo info;
    dvw::SetTarget(info, dvw::TDate(5, 3, 1999));
    dvw::LineDates dates;
    dvw::ReadAppt(info, doc, line, dates);
    const auto sorted = [](const dvw::DateList &list) {
        return std::is_sorted(list.dates().begin(), list.dates().end());
    };
    if (!sorted(dates.done) || !sorted(dates.excluded))
        std::abort();
    if ((!dates.done.empty() && !info.done) || dates.excluded.empty() == info.hasExcluded)
        std::abort();

    const auto length = static_cast<std::int64_t>(line.text.size());
    if (line.textStart < 0 || line.textStart > length)
        std::abort();
    if (info.scheduleStart < 0 || info.scheduleStart > length)
        std::abort();
    if (info.targetEnd != 0 && (info.targetStart >= info.targetEnd || info.targetEnd > length))
        std::abort();
    if (info.kind < 0 || info.kind > 13 || line.kind != info.kind)
        std::abort();

    // Taking the target date back always shortens the line (a code and its date go, at
    // most a three-character separator comes in).
    dvw::TimeString taken(line.text);
    if (dvw::RemoveDateCode(taken, dvw::TDate(5, 3, 1999), doc)
        && taken.text.size() >= line.text.size())
        std::abort();

    // A second read of the same text gives the same keys.
    const std::int32_t textStart = line.textStart, kind = line.kind, sortKey = line.sortKey;
    dvw::ApptInfo again;
    dvw::ReadAppt(again, doc, line);
    if (line.textStart != textStart || line.kind != kind || line.sortKey != sortKey)
        std::abort();
    return 0;
}
