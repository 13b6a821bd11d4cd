// Loading, saving and sorting a generated 50,000-line appointment file through the
// document, against a plain read of the same bytes.
#include "store/tapptdocument.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr int fileLines = 50000;

std::string generatedFile()
{
    static const char *const shapes[] = {
        "3/%d/99 9:00 am Dentist %d\r\n",
        "\\*WORK %d/5 Monthly review %d\r\n",
        "*HOME note %d with a longer free text behind it, %d\r\n",
        "\\B3/%d/60 Birthday %d\r\n",
        "%d/1/2000 first line %d\r\n&second line of the entry\r\n",
        "A line that is all free text %d and fits no schedule %d\r\n",
    };
    std::string bytes = "\\C!HOME,3=Family\r\n\\C WORK,5=Office\r\n";
    char line[160];
    for (int i = 0; i < fileLines; ++i) {
        const int n = std::snprintf(line, sizeof line, shapes[i % 6], i % 28 + 1, i);
        bytes.append(line, static_cast<std::size_t>(n));
    }
    return bytes;
}

struct BenchFile
{
    BenchFile()
    {
        dir = std::filesystem::temp_directory_path() / "dvw-bench-document";
        std::filesystem::create_directories(dir);
        path = (dir / "BENCH.APT").string();
        bytes = generatedFile();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    ~BenchFile() { std::filesystem::remove_all(dir); }

    std::filesystem::path dir;
    std::string path;
    std::string bytes;
};

BenchFile &benchFile()
{
    static BenchFile file;
    return file;
}

dvw::DocumentSettings settings()
{
    dvw::DocumentSettings s;
    s.today = dvw::TDate(7, 12, 2026);
    s.start = s.today;
    s.days = 30;
    return s;
}

void setBytes(benchmark::State &state)
{
    state.SetBytesProcessed(state.iterations()
                            * static_cast<std::int64_t>(benchFile().bytes.size()));
}

void BM_PlainRead(benchmark::State &state)
{
    for (auto _ : state) {
        std::ifstream in(benchFile().path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        benchmark::DoNotOptimize(bytes.data());
    }
    setBytes(state);
}

void BM_LoadLines(benchmark::State &state)
{
    for (auto _ : state) {
        dvw::TApptDocument doc(settings(), benchFile().path);
        benchmark::DoNotOptimize(doc.LoadLines().ok);
    }
    setBytes(state);
}

void BM_WriteLines(benchmark::State &state)
{
    dvw::TApptDocument doc(settings(), benchFile().path);
    doc.LoadLines();
    for (auto _ : state)
        benchmark::DoNotOptimize(doc.WriteLines().ok);
    setBytes(state);
}

void BM_SortLinesByDate(benchmark::State &state)
{
    dvw::TApptDocument doc(settings(), benchFile().path);
    for (auto _ : state) {
        state.PauseTiming();
        doc.LoadLines();
        state.ResumeTiming();
        doc.SortLines(dvw::SortMode::ByDate);
    }
    state.SetItemsProcessed(state.iterations() * fileLines);
}

} // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortLinesByDate)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
