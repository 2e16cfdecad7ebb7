// Opening the demo levels (and, apart, their first frame), side by side with the floor of reading the file and
// inflating its chunks plus registering its textures; frames per second of the CPU rasterizer at
// 640 x 480 on the largest demo level; and the same frames at 1280 x 720 and 1920 x 1080 drawn by
// the CPU rasterizer and by OpenGL in turn (BM_Frame, ratio_cpu_to_gl). OpenGL needs a display
// with OpenGL (run under xvfb-run); without one BM_Frame reports the CPU alone.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <numbers>

#include "viewer/DeviceSetup.h"
#include "bench/support/LevelFloor.h"
#include "bench/viewer/LargeLevelBench.h"
#include "viewer/HeadlessViewer.h"
#include "device/qt/OpenGLHeadlessDXDraw.h"
#include "demo_level/DemoLevel.h"
#include "storage/Stream.h"

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

void BM_OpenToFirstFrame(benchmark::State& state) {
    const DemoFile& file = kDemoFiles[state.range(0)];
    const std::string path = demoPath(file);
    THeadlessViewer viewer(640, 480);
    double open = 0, frame = 0, floor = 0, reading = 0, textures = 0, converting = 0;
    for (auto _ : state) {
        TImportReport report;
        const auto start = std::chrono::steady_clock::now();
        viewer.Open(path, 0.5f, &report);
        open += secondsSince(start);
        const auto drawn = std::chrono::steady_clock::now();
        viewer.DrawFrame();
        frame += secondsSince(drawn);
        reading += report.Reading;
        textures += report.Textures;
        converting += report.Converting;
        state.PauseTiming();
        floor += bench::ReadAndInflateSeconds(path, bench::ChunksOf(file.code));
        state.ResumeTiming();
    }
    state.SetLabel(file.name);
    const double runs = double(state.iterations());
    state.counters["open_ms"] = open / runs * 1e3;
    state.counters["first_frame_ms"] = frame / runs * 1e3;
    state.counters["floor_ms"] = floor / runs * 1e3;
    state.counters["reading_ms"] = reading / runs * 1e3;
    state.counters["textures_ms"] = textures / runs * 1e3;
    state.counters["converting_ms"] = converting / runs * 1e3;
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

// Draws one frame and waits until it is complete in the back buffer, without presenting it: the
// CPU rasterizer finishes at the end of the scene; OpenGL is waited for.
double secondsToDraw(THeadlessViewer& viewer, float yaw) {
    const auto start = std::chrono::steady_clock::now();
    viewer.Scene.SetCameraRotation({0, yaw, 0});
    if (TD3DDevice* device = viewer.Display->D3DDevice7()) SetOptionStates(*device, true, true);
    viewer.Scene.RenderPass(true);
    if (viewer.UsesOpenGL()) QOpenGLContext::currentContext()->functions()->glFinish();
    return secondsSince(start);
}

// The frames of BM_CpuFramesPerSecond at a larger size, each drawn by the CPU and then by OpenGL.
void BM_Frame(benchmark::State& state, int width, int height) {
    const std::string path = demoPath(kDemoFiles[4]);
    THeadlessViewer cpu(width, height);
    cpu.Open(path);
    std::unique_ptr<THeadlessViewer> gl;
    if (QGuiApplication::instance()) {
        gl = std::make_unique<THeadlessViewer>(std::make_unique<TOpenGLHeadlessDXDraw>(width, height));
        if (gl->UsesOpenGL()) gl->Open(path);
        else gl.reset();
    }
    double cpuSeconds = 0, glSeconds = 0;
    int frame = 0;
    for (auto _ : state) {
        const float yaw = float(2 * std::numbers::pi * (frame++ % 120) / 120);
        cpuSeconds += secondsToDraw(cpu, yaw);
        if (gl) glSeconds += secondsToDraw(*gl, yaw);
    }
    const double frames = double(state.iterations());
    state.counters["cpu_fps"] = frames / cpuSeconds;
    if (gl) {
        state.counters["gl_fps"] = frames / glSeconds;
        state.counters["ratio_cpu_to_gl"] = glSeconds / cpuSeconds;
    } else {
        state.SetLabel("no OpenGL: CPU only");
    }
}

void registerFrameBenchmarks() {
    for (const auto& [width, height] : {std::pair(1280, 720), std::pair(1920, 1080)})
        benchmark::RegisterBenchmark(("BM_Frame/" + std::to_string(width) + "x" + std::to_string(height)).c_str(),
                                     BM_Frame, width, height)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
}

}  // namespace
}  // namespace grottix

// OpenGL contexts need a Qt application on a platform with OpenGL; without a display the
// application would end the program, so there is none and BM_Frame draws on the CPU alone.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    std::unique_ptr<QGuiApplication> application;
    if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY") || std::getenv("QT_QPA_PLATFORM"))
        application = std::make_unique<QGuiApplication>(argc, argv);
    grottix::registerFrameBenchmarks();
    grottix::bench::RegisterLargeLevelBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
