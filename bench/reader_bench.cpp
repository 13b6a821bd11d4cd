// How fast lines of every kind are decoded.
#include "core/linereader.h"
#include "samplelines.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void BM_ReadAppt(benchmark::State &state)
{
    dvw::SimpleReadContext doc;
    std::vector<dvw::TimeString> lines;
    for (const auto &text : dvw::bench::sampleLines())
        lines.emplace_back(text);
    dvw::LineDates dates;
    for (auto _ : state) {
        for (auto &line : lines) {
            dvw::ApptInfo info;
            dvw::ReadAppt(info, doc, line, dates);
            benchmark::DoNotOptimize(info.kind);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_ReadAppt);

} // namespace

BENCHMARK_MAIN();
