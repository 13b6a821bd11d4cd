// The file view and the whole-file operations over a file of 50,000 lines: the first
// paint, a search that finds nothing, marking, sorting, deleting and inserting a row, a
// line of a megabyte, and archiving 10,000 lines.
#include "samplelines.h"
#include "shell/documentsignals.h"
#include "store/fileoperations.h"
#include "store/tapptdocument.h"
#include "views/tfileview.h"
#include "yeardocument.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr int FileLines = 50'000;

std::unique_ptr<dvw::TApptDocument> fileOf(int count)
{
    auto doc = dvw::bench::yearWindowDocument();
    const std::vector<std::string> &samples = dvw::bench::sampleLines();
    for (int i = 0; i < count; ++i)
        doc->lineTable().emplace_back(samples[static_cast<std::size_t>(i) % samples.size()] + " #"
                                      + std::to_string(i));
    doc->Rescan();
    return doc;
}

QFont bodyFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(13);
    return font;
}

void paint(dvw::TFileView &view)
{
    QImage image(800, 600, QImage::Format_RGB32);
    QPainter painter(&image);
    view.paintRowsTo(painter, image.rect());
}

void BM_FileViewFirstPaint(benchmark::State &state)
{
    auto doc = fileOf(FileLines);
    dvw::DocumentSignals events(*doc);
    for (auto _ : state) {
        dvw::TFileView view(events, bodyFont(), {});
        view.resize(800, 600);
        paint(view);
    }
}
BENCHMARK(BM_FileViewFirstPaint)->Unit(benchmark::kMillisecond);

void BM_NextWithoutMatch(benchmark::State &state)
{
    auto doc = fileOf(FileLines);
    for (auto _ : state)
        benchmark::DoNotOptimize(dvw::NextMatchingLine(*doc, 0, "no such text anywhere"));
}
BENCHMARK(BM_NextWithoutMatch)->Unit(benchmark::kMillisecond);

void BM_MarkOutdated(benchmark::State &state)
{
    auto doc = fileOf(FileLines);
    for (auto _ : state) {
        dvw::ClearMarks(*doc);
        benchmark::DoNotOptimize(dvw::MarkOutdated(*doc, doc->window().today));
    }
}
BENCHMARK(BM_MarkOutdated)->Unit(benchmark::kMillisecond);

void BM_SortPlusRebuild(benchmark::State &state)
{
    auto doc = fileOf(FileLines);
    int i = 0;
    for (auto _ : state)
        doc->SortLines((++i & 1) ? dvw::SortMode::ByCategory : dvw::SortMode::ByDate);
}
BENCHMARK(BM_SortPlusRebuild)->Unit(benchmark::kMillisecond);

// The row goes, the derived tables follow and the view shows the new rows.
void BM_DeleteRow(benchmark::State &state)
{
    auto doc = fileOf(FileLines);
    dvw::DocumentSignals events(*doc);
    dvw::TFileView view(events, bodyFont(), {});
    view.resize(800, 600);
    for (auto _ : state) {
        doc->RemoveLine(FileLines / 2);
        view.refresh();
        paint(view);
        state.PauseTiming();
        doc->AppendLine("3/5/99 9:00 am Dentist");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteRow)->Unit(benchmark::kMillisecond);

// A pasted row goes in, the derived tables follow and the view shows the new rows.
void BM_InsertRow(benchmark::State &state)
{
    auto doc = fileOf(FileLines);
    dvw::DocumentSignals events(*doc);
    dvw::TFileView view(events, bodyFont(), {});
    view.resize(800, 600);
    for (auto _ : state) {
        doc->InsertLine(FileLines / 2, "3/5/99 9:00 am Dentist");
        view.refresh();
        paint(view);
        state.PauseTiming();
        doc->RemoveLine(FileLines / 2);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_InsertRow)->Unit(benchmark::kMillisecond);

void BM_PaintMegabyteLine(benchmark::State &state)
{
    auto doc = fileOf(100);
    doc->lineTable()[0].text = std::string(1 << 20, 'x');
    dvw::DocumentSignals events(*doc);
    dvw::TFileView view(events, bodyFont(), {});
    view.resize(800, 600);
    for (auto _ : state)
        paint(view);
}
BENCHMARK(BM_PaintMegabyteLine)->Unit(benchmark::kMillisecond);

// 10,000 marked lines appended to an archive that grows with each run, synced to disk.
void BM_Archive10000Lines(benchmark::State &state)
{
    auto doc = fileOf(FileLines);
    for (int i = 0; i < FileLines; i += FileLines / 10'000)
        doc->lineTable()[static_cast<std::size_t>(i)].marked = true;
    char dir[] = "/tmp/dvw-bench-XXXXXX";
    if (::mkdtemp(dir) == nullptr) {
        state.SkipWithError("no temporary directory");
        return;
    }
    const std::string target = std::string(dir) + "/ARCHIVE.APT";
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(target.c_str());
        state.ResumeTiming();
        const dvw::CopyMarkedResult r = dvw::AppendMarkedTo(*doc, target, {});
        if (!r.ok)
            state.SkipWithError(r.reason.c_str());
    }
    std::remove(target.c_str());
    ::rmdir(dir);
}
BENCHMARK(BM_Archive10000Lines)->Unit(benchmark::kMillisecond);

} // namespace
