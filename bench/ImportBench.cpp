// Opening a large level with many items, as the viewer does, side by side with the floor of reading
// and inflating the file plus registering its textures; and the cost of one item, from the same level
// opened with and without its items, at two item counts (flat when the import stays linear). The
// counts are those of real levels: the games hold a few hundred entities at most.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "app/HeadlessViewer.h"
#include "demo_level/DemoLevel.h"
#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix {
namespace {

using namespace levelwriter;

constexpr int kCopies = 55;  // of the demo level's four rooms: 220 rooms

// Texture tiles with the grain of real ones: textured, yet compressible.
std::vector<uint8_t> noisyTiles(size_t bytes) {
    std::vector<uint8_t> tiles(bytes);
    uint32_t state = 12345;
    for (size_t i = 0; i < bytes; ++i) {
        state = state * 1664525u + 1013904223u;
        tiles[i] = uint8_t((i / 3 % 97) + (state >> 29));
    }
    return tiles;
}

// The TR4 demo level repeated side by side over 32 tiles, as large as the largest real levels, with
// items (statues and pick-ups) spread over its copies.
std::string largeLevel(int items) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("grottix-bench-items32-" + std::to_string(items) + ".tr4")).string();
    if (FileExists(path)) return path;
    LevelDescription level = demo::DemoLevel(6);
    level.tileCount = 32;
    level.tiles16 = noisyTiles(32 * 131072);
    level.tiles32 = noisyTiles(32 * 262144);
    const std::vector<Room> rooms = level.rooms;
    const std::vector<Entity> demoItems(level.entities->begin() + 1, level.entities->end());
    level.entities->resize(1);
    level.rooms.clear();
    for (int copy = 0; copy < kCopies; ++copy)
        for (Room room : rooms) {
            room.x += copy * 20480;
            level.rooms.push_back(room);
        }
    for (int i = 0; i < items; ++i) {
        Entity item = demoItems[size_t(i) % demoItems.size()];
        item.x += (i / int(demoItems.size())) % kCopies * 20480;
        item.z += i / int(demoItems.size()) / kCopies * 64;
        level.entities->push_back(item);
    }
    WriteLevelFile(level, path);
    return path;
}

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
    const std::string path = largeLevel(items), plainPath = largeLevel(0);
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
