// How fast lines of every kind are decoded.
#include "core/linereader.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string> &sampleLines()
{
    static const std::vector<std::string> lines = {
        "3/5/99 9:00 am Dentist",
        "\\B3/5/60 Ann (  )",
        "?/15 Pay rent",
        "!mon, wed 7:30 Gym",
        "!MAR3MON>1 Holiday after",
        "*WORK Call back",
        "\\*HOME \\D3/5/99 \\D3/12/99 !1W Clean",
        "A line that is all free text and fits no schedule at all",
    };
    return lines;
}

void BM_ReadAppt(benchmark::State &state)
{
    dvw::SimpleReadContext doc;
    std::vector<dvw::TimeString> lines;
    for (const auto &text : sampleLines())
        lines.emplace_back(text);
    for (auto _ : state) {
        for (auto &line : lines) {
            dvw::ApptInfo info;
            dvw::ReadAppt(info, doc, line);
            benchmark::DoNotOptimize(info.kind);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_ReadAppt);

} // namespace

BENCHMARK_MAIN();
