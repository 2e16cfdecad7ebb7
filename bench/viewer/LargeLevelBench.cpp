// A large level of rooms joined by portals (20 x 20 rooms, over 600,000 triangles): frames drawn by
// the CPU rasterizer with the rooms the portals show and with every room (BM_LargeLevelFrame at
// 1280 x 720 and 1920 x 1080: ratio_culled_to_all), and the time and memory to open it, per triangle,
// against a level of a quarter its size opened in the same run (BM_LargeLevelOpen).

#include "bench/viewer/LargeLevelBench.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <numbers>

#include "bench/support/LargeLevel.h"
#include "viewer/DeviceSetup.h"
#include "viewer/HeadlessViewer.h"
#include "level_writer/RoomGrid.h"

namespace grottix::bench {

namespace {

constexpr int kSide = 20;
constexpr float kRoom = levelwriter::kGridRoomSize / 128.0f;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

size_t triangles(const TD3DScene& scene) {
    size_t count = 0;
    for (const auto& entry : scene.Objects) count += size_t(std::max(entry.Item->GetTriangleCount(), 0));
    return count;
}

double secondsToDraw(THeadlessViewer& viewer, bool cull, float yaw) {
    const auto start = std::chrono::steady_clock::now();
    viewer.Scene.CullCells = cull;
    viewer.Scene.SetCameraRotation({0, yaw, 0});
    if (TD3DDevice* device = viewer.Display->D3DDevice7()) SetOptionStates(*device, true, true);
    viewer.Scene.RenderPass(true);
    return secondsSince(start);
}

// The eye stands in a room near the middle of the level and turns round; each turn is drawn with
// culling and then without.
void BM_LargeLevelFrame(benchmark::State& state, int width, int height) {
    THeadlessViewer viewer(width, height);
    viewer.Open(PortalGridLevel(kSide));
    viewer.Scene.SetCameraPosition({kRoom * 9.4f, 4, kRoom * 10.3f});
    double culled = 0, all = 0;
    size_t roomsDrawn = 0;
    int frame = 0;
    for (auto _ : state) {
        const float yaw = float(2 * std::numbers::pi * (frame++ % 24) / 24);
        culled += secondsToDraw(viewer, true, yaw);
        roomsDrawn += viewer.Scene.CellsDrawnCount;
        all += secondsToDraw(viewer, false, yaw);
    }
    const double frames = double(state.iterations());
    state.counters["fps_culled"] = frames / culled;
    state.counters["fps_all"] = frames / all;
    state.counters["ratio_culled_to_all"] = all / culled;
    state.counters["rooms_drawn"] = double(roomsDrawn) / frames;
    state.counters["triangles"] = double(triangles(viewer.Scene));
}

struct TOpened {
    double seconds = 0;
    size_t bytes = 0, triangles = 0;
};

// Opens a level into a fresh viewer; the bytes are those the heap holds more after opening.
TOpened open(const std::string& path) {
    THeadlessViewer viewer(64, 64, 1);
    const size_t before = mallinfo2().uordblks;
    const auto start = std::chrono::steady_clock::now();
    viewer.Open(path);
    TOpened opened;
    opened.seconds = secondsSince(start);
    opened.bytes = mallinfo2().uordblks - before;
    opened.triangles = triangles(viewer.Scene);
    return opened;
}

void BM_LargeLevelOpen(benchmark::State& state) {
    const std::string large = PortalGridLevel(kSide), quarter = PortalGridLevel(kSide / 2);
    TOpened big, small;
    for (auto _ : state) {
        const TOpened b = open(large), s = open(quarter);
        big.seconds += b.seconds, small.seconds += s.seconds;
        big.bytes = b.bytes, small.bytes = s.bytes;
        big.triangles = b.triangles, small.triangles = s.triangles;
    }
    const double runs = double(state.iterations());
    const double bigPerTriangle = big.seconds / runs / double(big.triangles);
    const double smallPerTriangle = small.seconds / runs / double(small.triangles);
    state.counters["open_ms"] = big.seconds / runs * 1e3;
    state.counters["triangles"] = double(big.triangles);
    state.counters["bytes_per_triangle"] = double(big.bytes) / double(big.triangles);
    state.counters["ratio_open_per_triangle_to_quarter"] = bigPerTriangle / smallPerTriangle;
    state.counters["ratio_bytes_per_triangle_to_quarter"] =
        (double(big.bytes) / double(big.triangles)) / (double(small.bytes) / double(small.triangles));
}

}  // namespace

void RegisterLargeLevelBenchmarks() {
    for (const auto& [width, height] : {std::pair(1280, 720), std::pair(1920, 1080)})
        benchmark::RegisterBenchmark(("BM_LargeLevelFrame/" + std::to_string(width) + "x" + std::to_string(height)).c_str(),
                                     BM_LargeLevelFrame, width, height)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(12);
    benchmark::RegisterBenchmark("BM_LargeLevelOpen", BM_LargeLevelOpen)->Unit(benchmark::kMillisecond)->Iterations(3);
}

}  // namespace grottix::bench
