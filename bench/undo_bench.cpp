// Undo of one change on a 20,000-line file over 365 days (the lines put back and every
// table rebuilt), the recording of a change after a command, and reading a 50,000-line
// file again after another program changed it.
#include "history/documenthistory.h"
#include "store/tapptdocument.h"
#include "yeardocument.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

std::string lineNumber(int i)
{
    if (i % 10 == 0)
        return "!MON weekly " + std::to_string(i);
    if (i % 10 == 1)
        return "* note " + std::to_string(i);
    return std::to_string(i % 12 + 1) + "/" + std::to_string(i % 28 + 1) + "/"
        + (i % 12 + 1 >= 12 ? "26" : "27") + " " + std::to_string(i % 12 + 8) + ":00 appointment "
        + std::to_string(i);
}

std::unique_ptr<dvw::TApptDocument> documentOf(int lines)
{
    auto doc = dvw::bench::yearWindowDocument();
    for (int i = 0; i < lines; ++i)
        doc->lineTable().emplace_back(lineNumber(i));
    doc->Rescan();
    return doc;
}

// Undo and redo of one edited line, each timed: what Ctrl+Z costs.
void BM_UndoOneChange20000(benchmark::State &state)
{
    auto doc = documentOf(20000);
    dvw::DocumentHistory history(*doc);
    doc->ReplaceLine(10002, "12/24/26 changed");
    history.record(QStringLiteral("Edit"));
    for (auto _ : state) {
        history.undo();
        benchmark::DoNotOptimize(doc->engine().index().size());
        state.PauseTiming();
        history.redo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoOneChange20000)->Unit(benchmark::kMillisecond);

// What every command pays to find out whether it changed the lines: the diff.
void BM_RecordNoChange20000(benchmark::State &state)
{
    auto doc = documentOf(20000);
    dvw::DocumentHistory history(*doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(history.record(QStringLiteral("Nothing")));
}
BENCHMARK(BM_RecordNoChange20000)->Unit(benchmark::kMicrosecond);

// Reading a 50,000-line file again after a line was appended to it elsewhere.
void BM_Reload50000(benchmark::State &state)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("BIG.APT")).toStdString();
    auto doc = dvw::bench::yearWindowDocument();
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i < 50000; ++i)
            out << lineNumber(i) << "\r\n";
    }
    doc->setPath(path);
    doc->LoadLines();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::ofstream out(path, std::ios::binary | std::ios::app);
            out << "* appended " << round++ << "\r\n";
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(doc->Reload().status);
    }
}
BENCHMARK(BM_Reload50000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
