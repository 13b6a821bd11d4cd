// Next over the display index of about 65,000 rows when nothing matches (every entry's
// line is compared), the same over the calendar's days, and a rebuild of a 50,000-line
// file with the screen on against the same rebuild without it.
#include "store/search.h"
#include "store/tapptdocument.h"
#include "yeardocument.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

dvw::TApptDocument &indexDocument()
{
    static const std::unique_ptr<dvw::TApptDocument> doc = dvw::bench::everyDayDocument();
    return *doc;
}

void BM_NextWithoutMatchInTheList(benchmark::State &state)
{
    dvw::TApptDocument &doc = indexDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            dvw::NextMatchInIndex(doc.engine().index(), doc.lines(), 0, "no such words"));
    state.counters["index"] = static_cast<double>(doc.engine().index().size());
}
BENCHMARK(BM_NextWithoutMatchInTheList)->Unit(benchmark::kMillisecond);

void BM_NextWithoutMatchInTheCalendar(benchmark::State &state)
{
    dvw::TApptDocument &doc = indexDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            dvw::NextMatchingDay(doc.engine(), doc.lines(), doc.window().start, "no such words"));
}
BENCHMARK(BM_NextWithoutMatchInTheCalendar)->Unit(benchmark::kMillisecond);

// 50,000 lines of the common kinds, each ending in a tag the screen looks for, so that
// with the screen on every line is compared to its end and still expanded: the screen's
// worst case.
std::unique_ptr<dvw::TApptDocument> fileDocument()
{
    static const char *const shapes[] = {
        "3/%d/2027 9:00 am Dentist %d #tag",
        "\\*WORK %d/5 Monthly review %d #tag",
        "*HOME note %d with a longer free text behind it, %d #tag",
        "\\B3/%d/60 Birthday %d #tag",
        "!mon %d weekly line %d #tag",
        "A line that is all free text %d and fits no schedule %d #tag",
    };
    auto doc = dvw::bench::yearWindowDocument();
    doc->lineTable().emplace_back("\\C!HOME,3=Family");
    doc->lineTable().emplace_back("\\C!WORK,5=Office");
    char line[160];
    for (int i = 0; i < 50000; ++i) {
        const int n = std::snprintf(line, sizeof line, shapes[i % 6], i % 28 + 1, i);
        doc->lineTable().emplace_back(std::string(line, static_cast<std::size_t>(n)));
    }
    return doc;
}

void rebuild(benchmark::State &state, bool screening)
{
    auto doc = fileDocument();
    dvw::ViewFilters filters;
    if (screening)
        dvw::StartScreening(filters, "#TAG");
    doc->setViewFilters(filters);
    for (auto _ : state)
        doc->Rescan();
    state.counters["index"] = static_cast<double>(doc->engine().index().size());
}

void BM_RebuildPlain(benchmark::State &state)
{
    rebuild(state, false);
}
BENCHMARK(BM_RebuildPlain)->Unit(benchmark::kMillisecond);

void BM_RebuildScreened(benchmark::State &state)
{
    rebuild(state, true);
}
BENCHMARK(BM_RebuildScreened)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
