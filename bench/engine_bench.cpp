// How fast the engine expands a year of a large appointment file and lays out its index.
#include "store/memorysource.h"
#include "store/occurrenceengine.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

// A realistic mix, the same as scripts/bench-agenda writes: singles (some with warnings),
// anniversaries and birthdays, monthly, weekly, every n days or weeks, nth weekdays,
// notes and plain text; half of the scheduled lines have a time.
std::vector<std::string> generateLines(int count)
{
    std::mt19937 random(20261207);
    auto pick
        = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    static const char *const weekdays[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    static const char *const words[] = {"Dentist", "call", "Meeting", "review", "Gym",
                                        "lunch",   "Pay",  "report",  "Team",   "visit"};
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int kind = pick(0, 99);
        std::string schedule;
        if (kind < 30)
            schedule = std::to_string(pick(1, 12)) + "/" + std::to_string(pick(1, 28)) + "/2026";
        else if (kind < 38)
            schedule = std::to_string(pick(1, 12)) + "/" + std::to_string(pick(1, 28)) + "/2026 -"
                + std::to_string(pick(2, 7));
        else if (kind < 48)
            schedule = std::to_string(pick(1, 12)) + "/" + std::to_string(pick(1, 28));
        else if (kind < 53)
            schedule = "\\B" + std::to_string(pick(1, 12)) + "/" + std::to_string(pick(1, 28))
                + "/19" + std::to_string(pick(40, 99));
        else if (kind < 66)
            schedule = "?/" + std::to_string(pick(1, 31));
        else if (kind < 75)
            schedule = std::string("!") + weekdays[pick(0, 6)];
        else if (kind < 80)
            schedule = "!" + std::to_string(pick(2, 14)) + "D";
        else if (kind < 83)
            schedule = "\\S1/" + std::to_string(pick(1, 28)) + "/2026 !2W";
        else if (kind < 88)
            schedule = "!?" + std::to_string(pick(1, 5)) + weekdays[pick(0, 6)];
        else if (kind < 93)
            schedule = "*";
        std::string text = schedule.empty() ? "" : schedule + " ";
        if (!schedule.empty() && schedule != "*" && pick(0, 1) == 0)
            text += std::to_string(pick(7, 18)) + ":" + (pick(0, 1) ? "00" : "30") + " ";
        text += std::string(words[pick(0, 9)]) + " " + std::to_string(i);
        lines.push_back(std::move(text));
    }
    return lines;
}

void BM_BuildInstancesAndIndex(benchmark::State &state)
{
    dvw::MemorySource document;
    document.setLines(generateLines(static_cast<int>(state.range(0))));
    document.ScanCategories();
    dvw::OccurrenceEngine engine(document);
    dvw::EngineSettings settings;
    const dvw::TDate today(1, 1, 2026);
    settings.window = dvw::DateWindow::make(today, today, 365);
    engine.setSettings(settings);
    std::int64_t instances = 0;
    for (auto _ : state) {
        engine.BuildInstances();
        engine.BuildIndex(1);
        instances += engine.datedCount() + static_cast<std::int64_t>(engine.notes().size());
    }
    state.SetItemsProcessed(instances);
    state.counters["instances"] = static_cast<double>(engine.datedCount());
}
BENCHMARK(BM_BuildInstancesAndIndex)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
