// LoadLevel throughput on large generated levels, side by side with the floor: reading the file
// (and for TR4 inflating its chunks) with nothing else. Each benchmark reports MB/s and the ratio of
// its time to the floor measured in the same run. The floor data of hostile overlapping chains is
// measured against plain chains of the same room.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <filesystem>

#include "level/FloorData.h"
#include "level/TombRaiderLevel.h"
#include "level_writer/LevelWriter.h"
#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix {
namespace {

using namespace levelwriter;

// A room shaped like a real one: a grid of floor, ceiling and wall faces over many vertices.
Room bigRoom(int index, int code) {
    Room room;
    room.x = index * 8192;
    room.yBottom = 0;
    room.yTop = -4096;
    constexpr int kGrid = 20;
    for (int z = 0; z <= kGrid; ++z)
        for (int x = 0; x <= kGrid; ++x)
            room.vertices.push_back({int16_t(x * 256), int16_t((x * z) % 7 * -64), int16_t(z * 256), int16_t(x * 100), 16,
                                     uint16_t(x * 1000 + z)});
    for (int z = 0; z < kGrid; ++z)
        for (int x = 0; x < kGrid; ++x) {
            const auto at = [&](int dx, int dz) { return uint16_t((z + dz) * (kGrid + 1) + x + dx); };
            room.rectangles.push_back({{at(0, 0), at(1, 0), at(1, 1), at(0, 1)}, uint16_t((x + z) % 64)});
            if ((x + z) % 3 == 0) room.triangles.push_back({{at(0, 0), at(1, 0), at(1, 1)}, uint16_t(x % 64)});
        }
    room.zSectors = 8;
    room.xSectors = 8;
    room.lights = 4;
    room.staticMeshes = {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}};
    if (code == 7) {
        Layer layer;
        for (const auto& v : room.vertices) layer.vertices.push_back({float(v.x), float(v.y), float(v.z), 10, 20, 30});
        layer.rectangles = room.rectangles;
        layer.triangles = room.triangles;
        room.layers = {layer};
    }
    return room;
}

std::vector<uint8_t> noisyTiles(size_t bytes) {
    std::vector<uint8_t> tiles(bytes);
    uint32_t state = 12345;
    for (size_t i = 0; i < bytes; ++i) {
        state = state * 1664525u + 1013904223u;
        tiles[i] = uint8_t((i / 3 % 97) + (state >> 29));  // textured but compressible, like real tiles
    }
    return tiles;
}

std::string largeLevel(int code) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              (code == 6 ? "grottix-bench-large.tr4" : "grottix-bench-large.tr2")).string();
    if (FileExists(path)) return path;
    LevelDescription level;
    level.code = code;
    level.tileCount = 16;
    if (code <= 5) level.tiles8 = noisyTiles(16 * 65536);
    level.tiles16 = noisyTiles(16 * 131072);
    if (code >= 6) level.tiles32 = noisyTiles(16 * 262144);
    for (int i = 0; i < 220; ++i) level.rooms.push_back(bigRoom(i, code));
    level.meshData.assign(200000, 7);
    level.objectTextures.resize(2000);
    WriteLevelFile(level, path);
    return path;
}

// The floor: read the file; for TR4 inflate each chunk too; for TR2 one copy of the content.
void readFloor(const std::string& path, bool chunks) {
    std::vector<uint8_t> file = ReadWholeFile(path);
    if (!chunks) {
        std::vector<uint8_t> copy(file);
        benchmark::DoNotOptimize(copy.data());
        return;
    }
    size_t at = 10;
    for (int chunk = 0; chunk < 4 && at + 8 <= file.size(); ++chunk) {
        uint32_t size, packed;
        std::memcpy(&size, file.data() + at, 4);
        std::memcpy(&packed, file.data() + at + 4, 4);
        auto bytes = InflateBytes(std::span(file).subspan(at + 8, std::min<size_t>(packed, file.size() - at - 8)), size);
        benchmark::DoNotOptimize(bytes.data());
        at += 8 + packed;
    }
}

double secondsPerRun(const std::function<void()>& work, int runs) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / runs;
}

void loadLevel(benchmark::State& state, int code) {
    const std::string path = largeLevel(code);
    const auto bytes = int64_t(std::filesystem::file_size(path));
    const double floor = secondsPerRun([&] { readFloor(path, code >= 6); }, 5);
    TTombRaiderLevel level;
    for (auto _ : state) {
        benchmark::DoNotOptimize(level.LoadLevel(path));
    }
    const double load = secondsPerRun([&] { level.LoadLevel(path); }, 5);
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["floor_MB/s"] = double(bytes) / floor / 1e6;
    state.counters["ratio_to_floor"] = load / floor;
}

void BM_LoadLevel_TR4(benchmark::State& state) { loadLevel(state, 6); }
void BM_LoadLevel_TR2(benchmark::State& state) { loadLevel(state, 3); }

// A room of 256 x 256 squares, each starting its own chain one word further in: endless triggers,
// every chain overlapping the next (hostile), or a kill each (the floor).
TTombRaiderLevel floorDataLevel(bool overlapping) {
    LevelDescription description;
    description.code = 3;
    description.tileCount = 1;
    Room room;
    room.xSectors = room.zSectors = 256;
    room.sectorList = std::vector<Sector>(65536);
    for (size_t i = 0; i < 65536; ++i) (*room.sectorList)[i].floorDataIndex = uint16_t(std::max<size_t>(i, 1));
    description.rooms = {room};
    description.floorData = std::vector<uint16_t>(66000, overlapping ? 0x0004 : 0x8005);
    TTombRaiderLevel level;
    level.LoadLevelFromBytes(WriteLevel(description), "floor.tr2");
    return level;
}

// The bytes the decoded floor data holds.
double heldBytes(const TLevelFloorData& data) {
    double held = double(data.entries.size() * sizeof(TFloorEntry) + data.triggers.size() * sizeof(TLevelTrigger));
    for (const TRoomFloor& room : data.rooms) held += double(room.sectors.size() * sizeof(TSectorFloor));
    for (const TFloorEntry& entry : data.entries)
        for (const TSectorFunction& f : entry.functions) held += double(sizeof f + f.data.size() * 2);
    for (const TLevelTrigger& t : data.triggers)
        held += double(t.actions.size() * sizeof(TTriggerStep) + t.squares.size() * sizeof(TFloorSquare));
    return held;
}

// Overlapping chains read at most the budget of words together, so their floor data takes a small
// multiple of the floor's time and memory, not one chain's worth per square.
void BM_FloorData_OverlappingChains(benchmark::State& state) {
    const TTombRaiderLevel plain = floorDataLevel(false), hostile = floorDataLevel(true);
    const double floor = secondsPerRun([&] { benchmark::DoNotOptimize(ReadFloorData(plain)); }, 5);
    for (auto _ : state) benchmark::DoNotOptimize(ReadFloorData(hostile));
    const double read = secondsPerRun([&] { benchmark::DoNotOptimize(ReadFloorData(hostile)); }, 5);
    state.counters["ratio_to_floor"] = read / floor;
    state.counters["held_ratio_to_floor"] = heldBytes(ReadFloorData(hostile)) / heldBytes(ReadFloorData(plain));
}

BENCHMARK(BM_LoadLevel_TR4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLevel_TR2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorData_OverlappingChains)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace grottix
