#pragma once

#include "store/memorysource.h"
#include "store/occurrenceengine.h"

#include <memory>
#include <string>
#include <vector>

namespace dvw::test {

inline TDate ymd(int year, int month, int day)
{
    return TDate(static_cast<std::uint32_t>(day), static_cast<std::uint32_t>(month),
                 static_cast<std::uint32_t>(year));
}

// A document in memory with its engine, built over one window.
struct EngineHarness
{
    MemorySource document;
    OccurrenceEngine engine {document};
    EngineSettings settings;

    explicit EngineHarness(const TDate &today, const TDate &start, int days)
    {
        settings.window = DateWindow::make(today, start, days);
        document.setSelectionMode(true, true);
    }

    void build(const std::vector<std::string> &lines)
    {
        document.setLines(lines);
        document.ScanCategories();
        engine.setSettings(settings);
        engine.BuildInstances();
        engine.BuildIndex(1);
    }

    // Every instance in the lead-in and day cells, as day numbers.
    std::vector<std::uint32_t> placedDays() const
    {
        std::vector<std::uint32_t> days;
        for (int d = 1; d <= 31; ++d) {
            for (const Appt &a : engine.leadInCell(d))
                days.push_back(a.date.dayNumber);
        }
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= 31; ++d) {
                for (const Appt &a : engine.dayCell(m, d))
                    days.push_back(a.date.dayNumber);
            }
        }
        return days;
    }
};

} // namespace dvw::test
