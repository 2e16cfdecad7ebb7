// Frames per second of the main window drawing the largest demo level into a 1280 x 720 view on
// the screen (an X server: run under xvfb-run), through OpenGL and through the CPU rasterizer; and
// of the empty view (a cleared frame), where putting the frame on the screen is nearly all the work.
// The baseline is the same frames drawn by a headless display of the same backend and size, which
// shows nothing: ratio_to_headless is what putting the frames on the screen leaves of the frame rate.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

#include <chrono>
#include <functional>
#include <numbers>

#include "viewer/HeadlessViewer.h"
#include "app/window/MainWindow.h"
#include "device/qt/OpenGLHeadlessDXDraw.h"
#include "codecs/ImageCodecs.h"
#include "bench/app/window/WindowBenchSupport.h"
#include "settings/MemorySettingsStore.h"

namespace grottix {
namespace {

constexpr int kWidth = 1280, kHeight = 720;

// The eye turns once around in 120 frames, so that frames differ as they do while walking.
TD3DVector turn(int frame) { return {0, float(2 * std::numbers::pi * (frame % 120) / 120), 0}; }

void waitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

double headlessFps(bool opengl, const std::string& path, int frames) {
    THeadlessViewer viewer(opengl ? std::make_unique<TOpenGLHeadlessDXDraw>(kWidth, kHeight)
                                  : std::make_unique<THeadlessDXDraw>(kWidth, kHeight));
    if (!path.empty()) viewer.Open(path);
    const auto start = std::chrono::steady_clock::now();
    for (int frame = 0; frame < frames; ++frame) {
        viewer.Scene.SetCameraRotation(turn(frame));
        viewer.DrawFrame();
    }
    viewer.Picture();  // the last frame finished
    return frames / std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Args: OpenGL (1) or the CPU rasterizer (0); the demo level (1) or the empty view (0).
void BM_WindowFrame(benchmark::State& state) {
    if (!qEnvironmentVariableIsSet("DISPLAY")) {
        state.SkipWithError("needs an X server (xvfb-run)");
        return;
    }
    BenchApplication();
    InitializeImageCodecs();
    const bool opengl = state.range(0) == 1;
    const std::string path = state.range(1) == 1 ? BenchDemoLevel() : std::string();
    TMemorySettingsStore store;
    TDXViewerForm window(store, {});
    window.show();
    waitFor([&] { return window.windowHandle() && window.windowHandle()->isExposed() && window.DXDraw->CanDraw(); });
    window.resize(window.size() + QSize(kWidth, kHeight) - window.DXDraw->size());
    waitFor([&] { return window.DXDraw->SurfaceWidth() == kWidth && window.DXDraw->SurfaceHeight() == kHeight; });
    window.HardwareOn = opengl;
    window.SetHardwareAcceleration(opengl, false);
    if (!path.empty()) window.OpenLevelFile(path);
    if (window.DXDraw->NowOptions().Contains(doHardware) != opengl || window.DXDraw->SurfaceWidth() != kWidth ||
        window.DXDraw->SurfaceHeight() != kHeight) {
        state.SkipWithError("the window could not draw as asked");
        return;
    }
    // The benchmark makes the frames itself.
    window.DXTimer.SetEnabled(false);
    window.DrawThread.SetEnabled(false);
    int frame = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        window.Scene->SetCameraRotation(turn(frame++));
        window.DrawFrame();
        QCoreApplication::processEvents();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double fps = frame / seconds;
    const double baseline = headlessFps(opengl, path, frame);
    state.SetLabel(std::string(opengl ? "opengl" : "cpu") + (path.empty() ? ", empty view" : ", demo-tr4"));
    state.counters["fps"] = fps;
    state.counters["headless_fps"] = baseline;
    state.counters["ratio_to_headless"] = fps / baseline;
}
BENCHMARK(BM_WindowFrame)->ArgsProduct({{1, 0}, {1, 0}})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

}  // namespace
}  // namespace grottix
