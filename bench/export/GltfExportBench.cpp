// Exporting the large level, its faces over all 32 tiles, as glTF against opening it as the viewer
// does, both in the same run: ratio_to_open is the export's time over the opening's (the target is
// at most 3).

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "bench/support/LargeLevel.h"
#include "viewer/HeadlessViewer.h"
#include "export/LevelGltfExport.h"

namespace grottix {
namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ExportLargeLevelAsGltf(benchmark::State& state) {
    const std::string path = bench::LargeLevel(int(state.range(0)), true);
    const std::string out = (std::filesystem::temp_directory_path() / "grottix-bench-export.glb").string();
    THeadlessViewer viewer(64, 48);
    double exporting = 0, opening = 0;
    TGltfExportReport report;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        ExportLevelToGltf(path, out, {}, {}, &report);
        exporting += secondsSince(start);
        state.PauseTiming();
        start = std::chrono::steady_clock::now();
        viewer.Open(path);
        opening += secondsSince(start);
        state.ResumeTiming();
    }
    const double runs = double(state.iterations());
    state.counters["export_ms"] = exporting / runs * 1e3;
    state.counters["open_ms"] = opening / runs * 1e3;
    state.counters["ratio_to_open"] = exporting / opening;
    state.counters["triangles"] = double(report.Triangles);
    state.counters["textures"] = double(report.Textures);
    state.counters["MB"] = double(report.Bytes) / 1e6;
    std::filesystem::remove(out);
}
BENCHMARK(BM_ExportLargeLevelAsGltf)->Arg(250)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace grottix
