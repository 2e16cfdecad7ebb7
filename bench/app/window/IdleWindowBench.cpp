// How much of a core the main window uses while nothing moves, in a real window on an X server
// (run under xvfb-run): with no level, and with the largest demo level (its water animated: far off,
// out of view, filling part of the view and all of it), through OpenGL and through the CPU rasterizer. The baseline is the same window while the eye turns (an
// arrow key held): idle_to_moving is what idling leaves of the moving window's CPU time, and
// fps_moving the frame rate while moving.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include <ctime>
#include <functional>

#include "app/window/MainWindow.h"
#include "codecs/ImageCodecs.h"
#include "bench/app/window/WindowBenchSupport.h"
#include "settings/MemorySettingsStore.h"

namespace grottix {
namespace {

constexpr int kRightArrow = 39;

double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Runs the event loop as the program does (sleeping while there is nothing to do) for a time, or
// until `until` holds (checked every 20 ms).
void runEvents(int milliseconds, const std::function<bool()>& until = nullptr) {
    QEventLoop loop;
    QTimer end, check;
    end.setSingleShot(true);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    end.start(milliseconds);
    if (until) {
        if (until()) return;
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (until()) loop.quit();
        });
        check.start(20);
    }
    loop.exec();
}

struct TUsage {
    double corePercent = 0, framesPerSecond = 0;
};

// The process's CPU time and the window's frames over `seconds` of the event loop.
TUsage measure(TDXViewerForm& window, double seconds) {
    const uint64_t frames = window.Pacing.Frames();
    const double cpu = processSeconds();
    runEvents(int(seconds * 1000));
    return {(processSeconds() - cpu) / seconds * 100, double(window.Pacing.Frames() - frames) / seconds};
}

// The same from another place, once the frames that moving there asks for are drawn.
TUsage measureFrom(TDXViewerForm& window, TD3DVector position, TD3DVector angles) {
    window.Scene->SetCameraPosition(position);
    window.Scene->SetCameraRotation(angles);
    window.Pacing.Request();
    runEvents(500);
    return measure(window, 3);
}

// Args: OpenGL (1) or the CPU rasterizer (0); the demo level (1) or no level (0).
void BM_IdleWindow(benchmark::State& state) {
    if (!qEnvironmentVariableIsSet("DISPLAY")) {
        state.SkipWithError("needs an X server (xvfb-run)");
        return;
    }
    BenchApplication();
    InitializeImageCodecs();
    const bool opengl = state.range(0) == 1;
    const bool level = state.range(1) == 1;
    TMemorySettingsStore store;
    TDXViewerForm window(store, {});
    window.show();
    window.activateWindow();
    runEvents(5000, [&] { return window.isActiveWindow() && window.DXDraw->CanDraw(); });
    window.HardwareOn = opengl;
    window.SetHardwareAcceleration(opengl, false);
    if (level) window.OpenLevelFile(BenchDemoLevel());
    if (!window.isActiveWindow() || window.DXDraw->NowOptions().Contains(doHardware) != opengl ||
        window.LevelFileName.empty() == level) {
        state.SkipWithError("the window could not be set up as asked");
        return;
    }
    runEvents(1000);  // settles
    TUsage idle;
    for (auto _ : state) idle = measure(window, 3);
    // Looking straight up, the water is out of view: its steps change nothing on the screen.
    const TD3DVector angles = window.Scene->GetCameraRotation();
    const TUsage away = measureFrom(window, window.Scene->GetCameraPosition(), {1.5707964f, angles.y, angles.z});
    // At the pool's edge looking down, it fills about a tenth of the view; from above, all of it.
    const TD3DVector place = window.Scene->GetCameraPosition();
    const TUsage poolEdge = measureFrom(window, {20, -28, 84}, {-0.6f, 0, 0});
    const TUsage poolBelow = measureFrom(window, {20, -29, 108}, {-1.5f, 0, 0});
    window.Scene->SetCameraPosition(place);
    window.Scene->SetCameraRotation(angles);
    window.DXInput.Keyboard.KeyDown(kRightArrow);
    window.Pacing.Request();
    const TUsage moving = measure(window, 3);
    window.DXInput.Keyboard.KeyUp(kRightArrow);
    state.SetLabel(std::string(opengl ? "opengl" : "cpu") + (level ? ", demo-tr4" : ", no level"));
    state.counters["cpu_percent_idle"] = idle.corePercent;
    state.counters["fps_idle"] = idle.framesPerSecond;
    state.counters["cpu_percent_idle_looking_up"] = away.corePercent;
    state.counters["fps_idle_looking_up"] = away.framesPerSecond;
    state.counters["cpu_percent_idle_pool_edge"] = poolEdge.corePercent;
    state.counters["cpu_percent_idle_pool_fills_view"] = poolBelow.corePercent;
    state.counters["fps_idle_pool_fills_view"] = poolBelow.framesPerSecond;
    state.counters["cpu_percent_moving"] = moving.corePercent;
    state.counters["fps_moving"] = moving.framesPerSecond;
    state.counters["idle_to_moving"] = moving.corePercent > 0 ? idle.corePercent / moving.corePercent : 0;
}
BENCHMARK(BM_IdleWindow)->ArgsProduct({{1, 0}, {1, 0}})->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace grottix
