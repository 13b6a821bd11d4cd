// How fast decoded lines of every kind are written back (compose and read again).
#include "core/linereader.h"
#include "core/linewriter.h"
#include "samplelines.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void BM_WriteAppt(benchmark::State &state)
{
    dvw::SimpleReadContext doc;
    for (auto _ : state) {
        for (const auto &text : dvw::bench::sampleLines()) {
            dvw::TimeString line(text);
            dvw::ApptInfo info;
            dvw::LineDates dates;
            dvw::ReadAppt(info, doc, line, dates);
            dvw::WriteAppt(info, dates, doc, line);
            benchmark::DoNotOptimize(line.text.data());
        }
    }
    state.SetItemsProcessed(state.iterations()
                            * static_cast<std::int64_t>(dvw::bench::sampleLines().size()));
}
BENCHMARK(BM_WriteAppt);

} // namespace

BENCHMARK_MAIN();
