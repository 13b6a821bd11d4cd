// The preview's page turn: laying out and drawing the next page of a 100-page list printout
// of a 65,000-entry document, and drawing a month page, each into an image of a preview's
// size. The target is under 50 ms for either.
#include "print/printpreview.h"
#include "render/printjob.h"
#include "settings/platformprobe.h"
#include "settings/settings.h"
#include "yeardocument.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace dvw;

namespace {

const QSize previewPage(560, 792);

PrintRequest requestFor(PrintLayout layout, const TApptDocument &doc)
{
    PrintRequest r;
    r.layout = layout;
    r.device
        = layout == PrintLayout::Month ? PrintRect {0, 0, 1122, 793} : PrintRect {0, 0, 793, 1122};
    r.range = {doc.window().start, doc.window().end, true, true, false};
    r.columns = 2;
    r.byPages = true;
    r.pages = maxPrintPages;
    r.months = {12, 2026, 11, 2027};
    r.caption = "Pat 12/7/26";
    return r;
}

// Each iteration turns to the next page; a new printout starts once all 100 were shown.
void BM_PreviewNextListPage(benchmark::State &state)
{
    auto doc = bench::everyDayDocument();
    const Settings settings = Settings::defaults(FixedProbe(1280, 0));
    std::unique_ptr<PrintJob> job;
    std::unique_ptr<PreviewPages> pages;
    int page = maxPrintPages;
    for (auto _ : state) {
        if (page == maxPrintPages) {
            state.PauseTiming();
            pages.reset();
            job = std::make_unique<PrintJob>(*doc, requestFor(PrintLayout::List, *doc), settings);
            pages = std::make_unique<PreviewPages>(*job);
            page = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(pages->page(++page, previewPage).constBits());
    }
}
BENCHMARK(BM_PreviewNextListPage)->Unit(benchmark::kMillisecond);

void BM_PreviewMonthPage(benchmark::State &state)
{
    auto doc = bench::everyDayDocument();
    const Settings settings = Settings::defaults(FixedProbe(1280, 0));
    PrintJob job(*doc, requestFor(PrintLayout::Month, *doc), settings);
    int page = 0;
    for (auto _ : state) {
        // A fresh cache each time, so the page is drawn and not taken from it.
        PreviewPages pages(job);
        page = page % job.pageCount() + 1;
        benchmark::DoNotOptimize(pages.page(page, previewPage.transposed()).constBits());
    }
}
BENCHMARK(BM_PreviewMonthPage)->Unit(benchmark::kMillisecond);

} // namespace
