// The alarm clock's work per tick: a tick in a minute already checked, and the check of a
// new minute over three documents of 5,000 instances each on today's date.
#include "alarm/alarmrules.h"
#include "store/tapptdocument.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int instancesPerDocument = 5000;
const dvw::TDate today(7, 12, 2026);

std::unique_ptr<dvw::TApptDocument> documentForToday(int seed, dvw::TDate start = today)
{
    dvw::DocumentSettings s;
    s.today = today;
    s.start = start;
    s.days = 365;
    auto doc = std::make_unique<dvw::TApptDocument>(s);
    char line[96];
    for (int i = 0; i < instancesPerDocument; ++i) {
        const int minute = (i * 7 + seed) % 1440;
        std::snprintf(line, sizeof line, "12/7/2026 %d:%02d Appointment %d of document %d",
                      minute / 60, minute % 60, i, seed);
        doc->lineTable().emplace_back(std::string(line));
    }
    doc->Rescan();
    return doc;
}

struct ThreeDocuments
{
    explicit ThreeDocuments(dvw::TDate start = today)
    {
        for (int d = 0; d < 3; ++d) {
            docs.push_back(documentForToday(d, start));
            open.push_back({docs.back().get(), static_cast<std::uint64_t>(d + 1), false});
        }
    }
    std::vector<std::unique_ptr<dvw::TApptDocument>> docs;
    std::vector<dvw::AlarmDocument> open;
};

dvw::ClockReading at(int minute)
{
    dvw::ClockReading r;
    r.date = today;
    r.minute = minute;
    r.epochMinute = r.localMinute();
    return r;
}

// Most ticks: the minute has not changed, and no document is looked at.
void BM_TickInAnUnchangedMinute(benchmark::State &state)
{
    static ThreeDocuments three;
    dvw::AlarmClock clock(at(600));
    clock.check(at(600), three.open, {true, 5});
    for (auto _ : state) {
        benchmark::DoNotOptimize(clock.dayChange(at(600)));
        benchmark::DoNotOptimize(clock.check(at(600), three.open, {true, 5}));
    }
}
BENCHMARK(BM_TickInAnUnchangedMinute);

// Once a minute: today's instances of every document, the due alarms and the next one.
void BM_CheckOfANewMinute(benchmark::State &state)
{
    static ThreeDocuments three;
    int minute = 0;
    dvw::AlarmClock clock(at(0));
    for (auto _ : state) {
        minute = minute % 1439 + 1;
        if (minute == 1) {
            state.PauseTiming();
            clock = dvw::AlarmClock(at(0));
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(clock.check(at(minute), three.open, {true, 5}));
    }
}
BENCHMARK(BM_CheckOfANewMinute)->Unit(benchmark::kMicrosecond);

// The same when the user's window starts next month: today is expanded on its own.
void BM_CheckOfANewMinuteOutsideTheWindow(benchmark::State &state)
{
    static ThreeDocuments three(dvw::TDate(1, 1, 2027));
    int minute = 0;
    dvw::AlarmClock clock(at(0));
    for (auto _ : state) {
        minute = minute % 1439 + 1;
        benchmark::DoNotOptimize(clock.check(at(minute), three.open, {true, 5}));
    }
}
BENCHMARK(BM_CheckOfANewMinuteOutsideTheWindow)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
