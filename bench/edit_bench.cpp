// The edit dialog's rules: opening a line with ten years of done dates and pressing OK, and
// one update of the live reading under the edit box in a document of 50,000 lines.
#include "core/datetext.h"
#include "edit/apptform.h"
#include "edit/apptreading.h"
#include "edit/edit.h"
#include "store/tapptdocument.h"
#include "yeardocument.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

// A daily line done on each of its last 3,650 days.
std::string lineWithDoneDates()
{
    std::string line;
    const dvw::TDate first(1, 1, 2017);
    for (std::uint32_t day = 0; day < 3650; ++day)
        line += "\\D" + dvw::FormatDate(dvw::TDate::fromDayNumber(first.dayNumber + day), {});
    return line + "\\S1/1/2017 !1D Water the plants";
}

std::unique_ptr<dvw::TApptDocument> bigDocument()
{
    auto doc = dvw::bench::yearWindowDocument();
    for (int i = 0; i < 50000; ++i)
        doc->lineTable().emplace_back(std::to_string(i % 12 + 1) + "/" + std::to_string(i % 28 + 1)
                                      + "/2027 Appointment number " + std::to_string(i));
    doc->lineTable().emplace_back("\\C WORK=3 Work");
    doc->Rescan();
    return doc;
}

void OpenAndOkUntouched(benchmark::State &state)
{
    const std::string line = lineWithDoneDates();
    dvw::SimpleReadContext context;
    for (auto _ : state) {
        dvw::ApptForm form({&context, dvw::TDate(7, 12, 2026), {}}, line, dvw::TDate(7, 12, 2026),
                           true);
        benchmark::DoNotOptimize(form.accept());
    }
}
BENCHMARK(OpenAndOkUntouched)->Unit(benchmark::kMillisecond);

void OpenChangeAndOk(benchmark::State &state)
{
    const std::string line = lineWithDoneDates();
    dvw::SimpleReadContext context;
    for (auto _ : state) {
        dvw::ApptForm form({&context, dvw::TDate(7, 12, 2026), {}}, line, dvw::TDate(7, 12, 2026),
                           true);
        form.controls().alarmAdvance = "10";
        benchmark::DoNotOptimize(form.accept());
    }
}
BENCHMARK(OpenChangeAndOk)->Unit(benchmark::kMillisecond);

void PreviewUpdate(benchmark::State &state)
{
    static const std::unique_ptr<dvw::TApptDocument> doc = bigDocument();
    dvw::ApptForm form(dvw::FormDocumentOf(*doc), "\\S1/4/2027 !2W x", doc->window().today, true);
    int n = 0;
    for (auto _ : state) {
        form.controls().text = "Team meeting " + std::to_string(++n);
        const std::string line = form.currentLine();
        const std::string text
            = dvw::ReadingOf(line, *doc) + dvw::NextDatesOf(line, *doc, doc->window().today, 5);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(PreviewUpdate)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
