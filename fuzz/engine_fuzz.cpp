// Arbitrary file bytes expanded over an arbitrary window. Every instance must lie in the
// cell of its own month and day, inside the lead-in or the window; the index must hold
// exactly the window's instances; the dates of each line's rule must come ascending,
// inside the range asked for and the line's own start and end dates, the same through
// both ways of asking; nothing may hang or touch memory it does not own.
#include "core/linereader.h"
#include "core/recurrence.h"
#include "store/memorysource.h"
#include "store/occurrenceengine.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t headerSize = 8;

std::uint32_t byteAt(const std::uint8_t *data, std::size_t i)
{
    return data[i];
}

// The first bytes choose the window and the settings; the rest is the file.
dvw::EngineSettings settingsOf(const std::uint8_t *data)
{
    dvw::EngineSettings s;
    const std::uint32_t base = dvw::DayNumber(1, 1, 1990);
    const std::uint32_t start = base + (byteAt(data, 0) | byteAt(data, 1) << 8) % 40000;
    const int days = static_cast<int>(1 + (byteAt(data, 2) | byteAt(data, 3) << 8) % 365);
    const std::uint32_t today = start + byteAt(data, 4) - 128;
    s.window = dvw::DateWindow::make(dvw::TDate::fromDayNumber(today),
                                     dvw::TDate::fromDayNumber(start), days);
    s.nagInterval = static_cast<int>(byteAt(data, 5) % 64);
    s.unimportantDay = static_cast<int>(byteAt(data, 6) % 7);
    s.priorityLevel = static_cast<int>(1 + byteAt(data, 7) % 4);
    s.hideUnprioritized = (byteAt(data, 7) & 0x10) != 0;
    return s;
}

void checkCells(const dvw::OccurrenceEngine &engine)
{
    const dvw::DateWindow &w = engine.window();
    std::size_t inWindow = 0;
    for (int day = 1; day <= 31; ++day) {
        for (const dvw::Appt &a : engine.leadInCell(day)) {
            if (a.date < w.leadInStart || !(a.date < w.start)
                || a.date.DayOfMonth() != static_cast<std::uint32_t>(day))
                std::abort();
        }
    }
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= 31; ++day) {
            for (const dvw::Appt &a : engine.dayCell(month, day)) {
                if (a.date < w.start || w.end < a.date
                    || a.date.Month() != static_cast<std::uint32_t>(month)
                    || a.date.DayOfMonth() != static_cast<std::uint32_t>(day))
                    std::abort();
                ++inWindow;
            }
        }
    }
    if (static_cast<std::size_t>(engine.datedCount()) != inWindow)
        std::abort();
}

// The rule of every line over the window and a year either side of it.
void checkRuleDates(dvw::MemorySource &document, const dvw::DateWindow &w)
{
    const dvw::DayRange range {std::int64_t(w.leadInStart.dayNumber) - 400,
                               std::int64_t(w.end.dayNumber) + 400};
    for (dvw::TimeString line : document.lineTable()) {
        dvw::ApptInfo info;
        dvw::ReadAppt(info, document, line);
        const dvw::RecurrenceRule rule = dvw::RecurrenceRule::of(info);
        std::vector<dvw::TDate> given;
        dvw::forEachRuleDate(rule, range, w.leadInStart.dayNumber, [&](dvw::TDate date) {
            const std::int64_t day = date.dayNumber;
            if (day < range.lo || day > range.hi
                || (!given.empty() && day <= std::int64_t(given.back().dayNumber))
                || (rule.hasStart && date < rule.startDate) || (rule.hasEnd && rule.endDate < date))
                std::abort();
            given.push_back(date);
        });
        std::vector<dvw::TDate> appended;
        dvw::appendRuleDates(rule, range, w.leadInStart.dayNumber, appended);
        if (appended.size() != given.size())
            std::abort();
        for (std::size_t i = 0; i < given.size(); ++i) {
            if (appended[i].dayNumber != given[i].dayNumber || appended[i].flags != given[i].flags)
                std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < headerSize)
        return 0;
    dvw::DateTextSettings dateSettings;
    dateSettings.european = (data[6] & 0x40) != 0;
    dateSettings.military = (data[6] & 0x80) != 0;
    dvw::MemorySource document(dateSettings);
    document.loadBytes(
        std::string_view(reinterpret_cast<const char *>(data + headerSize), size - headerSize));
    document.ScanCategories();
    document.setSelectionMode((data[5] & 0x40) != 0, (data[5] & 0x80) == 0);

    dvw::OccurrenceEngine engine(document);
    engine.setSettings(settingsOf(data));
    engine.BuildInstances();
    const std::int32_t last = engine.BuildIndex(1);
    const auto entries = static_cast<std::int32_t>(engine.index().size());
    if (last != (entries == 0 ? 0 : entries - 1) || engine.locatedPosition() >= entries)
        std::abort();
    checkCells(engine);
    checkRuleDates(document, engine.window());

    // The last line once more, as the document appends a line.
    if (!document.lineTable().empty()) {
        const auto line = static_cast<std::int32_t>(document.lineTable().size() - 1);
        document.appendText(document.lineTable()[static_cast<std::size_t>(line)].text);
        const auto outcome = engine.appendLine(line + 1);
        if (!outcome.categoryLine)
            checkCells(engine);
    }
    return 0;
}
