// Loading and saving a large appointment file, against a plain read and write of the
// same bytes, so the cost of the file rules and of the atomic save shows as MB/s.
#include "store/fileio.h"
#include "store/filerules.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int FileLines = 50000;

// A file of FileLines lines of the usual kinds, every tenth with a continuation line.
const std::string &sampleFile()
{
    static const std::string bytes = [] {
        const char *kinds[] = {"3/5/99 9:00 am Dentist", "?/15 Pay rent", "!mon, wed 7:30 Gym",
                               "\\B3/5/60 Ann", "*WORK Call back about the quarterly figures"};
        std::string out;
        for (int i = 0; i < FileLines; ++i) {
            out += kinds[i % 5];
            out += " #" + std::to_string(i) + "\r\n";
            if (i % 10 == 9)
                out += "&and a second line\r\n";
        }
        return out;
    }();
    return bytes;
}

struct BenchDir
{
    BenchDir()
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "dvw-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path = pattern;
        file = path + "/NOTES.APT";
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const std::string &bytes = sampleFile();
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            std::abort();
        ::close(fd);
    }
    ~BenchDir() { std::filesystem::remove_all(path); }
    std::string path;
    std::string file;
};

void setBytes(benchmark::State &state)
{
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(sampleFile().size()));
}

void BM_LoadFileAndSplit(benchmark::State &state)
{
    BenchDir dir;
    for (auto _ : state) {
        const dvw::LoadResult loaded = dvw::LoadFile(dir.file);
        std::vector<std::string> texts = dvw::SplitFileText(loaded.bytes);
        benchmark::DoNotOptimize(texts.data());
    }
    setBytes(state);
}
BENCHMARK(BM_LoadFileAndSplit);

void BM_SplitFileTextOnly(benchmark::State &state)
{
    for (auto _ : state) {
        std::vector<std::string> texts = dvw::SplitFileText(sampleFile());
        benchmark::DoNotOptimize(texts.data());
    }
    setBytes(state);
}
BENCHMARK(BM_SplitFileTextOnly);

void BM_PlainRead(benchmark::State &state)
{
    BenchDir dir;
    std::string buffer(sampleFile().size() + 1, '\0');
    for (auto _ : state) {
        const int fd = ::open(dir.file.c_str(), O_RDONLY);
        ssize_t total = 0;
        for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;)
            total += n;
        ::close(fd);
        benchmark::DoNotOptimize(total);
    }
    setBytes(state);
}
BENCHMARK(BM_PlainRead);

void BM_JoinAndSaveAtomically(benchmark::State &state)
{
    BenchDir dir;
    const std::vector<std::string> texts = dvw::SplitFileText(sampleFile());
    std::optional<dvw::FileIdentity> expected = dvw::LoadFile(dir.file).identity;
    for (auto _ : state) {
        const std::string bytes = dvw::JoinFileText(texts);
        const dvw::SaveResult saved = dvw::SaveFileAtomically(dir.file, bytes, expected, false);
        if (!saved.ok)
            state.SkipWithError(saved.reason.c_str());
        expected = saved.identity;
    }
    setBytes(state);
}
BENCHMARK(BM_JoinAndSaveAtomically)->UseRealTime();

// A plain overwrite in place, without and with the data sync the atomic save makes.
void plainWrite(benchmark::State &state, bool sync)
{
    BenchDir dir;
    const std::string &bytes = sampleFile();
    for (auto _ : state) {
        const int fd = ::open(dir.file.c_str(), O_WRONLY | O_TRUNC);
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        if (sync)
            ::fdatasync(fd);
        ::close(fd);
    }
    setBytes(state);
}

void BM_PlainWrite(benchmark::State &state)
{
    plainWrite(state, false);
}
BENCHMARK(BM_PlainWrite)->UseRealTime();

void BM_PlainWriteAndSync(benchmark::State &state)
{
    plainWrite(state, true);
}
BENCHMARK(BM_PlainWriteAndSync)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
