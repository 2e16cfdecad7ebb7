// Opening a large level with many items, as the viewer does, side by side with the floor of reading
// and inflating the file plus registering its textures; and the cost of one item, from the same level
// opened with and without its items, at two item counts (flat when the import stays linear). The
// counts are those of real levels: the games hold a few hundred entities at most.

#include <benchmark/benchmark.h>

#include <chrono>

#include "bench/support/LevelFloor.h"
#include "viewer/HeadlessViewer.h"
#include "bench/support/LargeLevel.h"
#include "storage/Stream.h"

namespace grottix {
namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
        floor += bench::ReadAndInflateSeconds(path, bench::ChunksOf(6));
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
