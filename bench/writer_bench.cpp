// How fast decoded lines of every kind are written back (compose and read again).
#include "core/linereader.h"
#include "core/linewriter.h"

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

void BM_WriteAppt(benchmark::State &state)
{
    dvw::SimpleReadContext doc;
    for (auto _ : state) {
        for (const auto &text : sampleLines()) {
            dvw::TimeString line(text);
            dvw::ApptInfo info;
            dvw::ReadAppt(info, doc, line);
            dvw::WriteAppt(info, doc, line);
            benchmark::DoNotOptimize(line.text.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(sampleLines().size()));
}
BENCHMARK(BM_WriteAppt);

} // namespace

BENCHMARK_MAIN();
