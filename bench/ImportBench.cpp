// Opening a large level with many items, as the viewer does, side by side with the floor of reading
// and inflating the file plus registering its textures; and the cost of one item, from the same level
// opened with and without its items, at two item counts (flat when the import stays linear). The
// counts are those of real levels: the games hold a few hundred entities at most.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

#include "app/HeadlessViewer.h"
#include "LargeLevel.h"
#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix {
namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Reading the file and inflating its chunks (three of textures, one of level data).
double readAndInflate(const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<uint8_t> file = ReadWholeFile(path);
    size_t at = 10;
    for (int chunk = 0; chunk < 4 && at + 8 <= file.size(); ++chunk) {
        uint32_t size, packed;
        std::memcpy(&size, file.data() + at, 4);
        std::memcpy(&packed, file.data() + at + 4, 4);
        benchmark::DoNotOptimize(InflateBytes(std::span(file).subspan(at + 8, std::min<size_t>(packed, file.size() - at - 8)), size));
        at += 8 + packed;
    }
    return secondsSince(start);
}

double openSeconds(THeadlessViewer& viewer, const std::string& path, TImportReport& report) {
    const auto start = std::chrono::steady_clock::now();
    viewer.Open(path, 0.5f, &report);
    return secondsSince(start);
}

void BM_OpenLargeLevelWithItems(benchmark::State& state) {
    const int items = int(state.range(0));
    const std::string path = bench::LargeLevel(items), plainPath = bench::LargeLevel(0);
    THeadlessViewer viewer(64, 48);
    double open = 0, plain = 0, floor = 0, textures = 0;
    for (auto _ : state) {
        TImportReport report, plainReport;
        open += openSeconds(viewer, path, report);
        textures += report.Textures;
        state.PauseTiming();
        plain += openSeconds(viewer, plainPath, plainReport);
        floor += readAndInflate(path);
        state.ResumeTiming();
        state.counters["items"] = report.Items;
    }
    const double runs = double(state.iterations());
    state.counters["open_ms"] = open / runs * 1e3;
    state.counters["ratio_to_floor_plus_textures"] = open / (floor + textures);
    state.counters["us_per_item"] = (open - plain) / runs / items * 1e6;
}
BENCHMARK(BM_OpenLargeLevelWithItems)->Arg(250)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace grottix
