// Opening the demo levels (and, apart, their first frame), side by side with the floor of reading the file and
// inflating its chunks plus registering its textures; and frames per second of the CPU rasterizer
// at 640 x 480 on the largest demo level.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <numbers>

#include "app/HeadlessViewer.h"
#include "demo_level/DemoLevel.h"
#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix {
namespace {

struct DemoFile {
    int code;
    const char* name;
};
constexpr DemoFile kDemoFiles[] = {{1, "demo-tr1.phd"}, {3, "demo-tr2.tr2"}, {5, "demo-tr3.tr2"}, {6, "demo-tr4.tr4"},
                                   {7, "demo-trc.trc"}};

std::string demoPath(const DemoFile& file) {
    const std::string path = (std::filesystem::temp_directory_path() / ("grottix-bench-" + std::string(file.name))).string();
    if (!FileExists(path)) levelwriter::WriteLevelFile(demo::DemoLevel(file.code), path);
    return path;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Reading the file, and for codes 6-7 inflating its three texture chunks.
double readAndInflate(const std::string& path, int code) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<uint8_t> file = ReadWholeFile(path);
    size_t at = 10;
    for (int chunk = 0; code >= 6 && chunk < (code == 6 ? 4 : 3) && at + 8 <= file.size(); ++chunk) {
        uint32_t size, packed;
        std::memcpy(&size, file.data() + at, 4);
        std::memcpy(&packed, file.data() + at + 4, 4);
        benchmark::DoNotOptimize(InflateBytes(std::span(file).subspan(at + 8, std::min<size_t>(packed, file.size() - at - 8)), size));
        at += 8 + packed;
    }
    return secondsSince(start);
}

void BM_OpenToFirstFrame(benchmark::State& state) {
    const DemoFile& file = kDemoFiles[state.range(0)];
    const std::string path = demoPath(file);
    THeadlessViewer viewer(640, 480);
    double open = 0, frame = 0, floor = 0, textures = 0;
    for (auto _ : state) {
        TImportReport report;
        const auto start = std::chrono::steady_clock::now();
        viewer.Open(path, 0.5f, &report);
        open += secondsSince(start);
        const auto drawn = std::chrono::steady_clock::now();
        viewer.DrawFrame();
        frame += secondsSince(drawn);
        textures += report.Textures;
        state.PauseTiming();
        floor += readAndInflate(path, file.code);
        state.ResumeTiming();
    }
    state.SetLabel(file.name);
    const double runs = double(state.iterations());
    state.counters["open_ms"] = open / runs * 1e3;
    state.counters["first_frame_ms"] = frame / runs * 1e3;
    state.counters["floor_ms"] = floor / runs * 1e3;
    state.counters["textures_ms"] = textures / runs * 1e3;
    state.counters["ratio_to_floor_plus_textures"] = open / (floor + textures);
}
BENCHMARK(BM_OpenToFirstFrame)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_CpuFramesPerSecond(benchmark::State& state) {
    const std::string path = demoPath(kDemoFiles[4]);
    THeadlessViewer viewer(640, 480);
    viewer.Open(path);
    int frame = 0;
    for (auto _ : state) {
        viewer.Scene.SetCameraRotation({0, float(2 * std::numbers::pi * (frame++ % 120) / 120), 0});
        viewer.DrawFrame();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["ratio_to_60fps"] = benchmark::Counter(double(state.iterations()) / 60, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CpuFramesPerSecond)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace grottix
