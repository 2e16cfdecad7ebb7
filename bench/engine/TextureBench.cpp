// RegisterLevelTiles of a generated TR4 level of 32 tiles into an empty scene, side by side with the
// floor: one plain copy of the same tile bytes. Reports the ratio of the two, measured in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

#include "engine/Scene.h"
#include "level/TombRaiderLevel.h"
#include "level_writer/LevelWriter.h"

namespace grottix {
namespace {

constexpr int kTiles = 32;
constexpr size_t kTile16Bytes = 131072;

// Texels like a real level's: mostly opaque colours, some transparent black.
std::vector<uint8_t> tileTexels() {
    std::vector<uint8_t> texels(kTiles * kTile16Bytes);
    uint32_t state = 2024;
    for (size_t i = 0; i < texels.size(); i += 2) {
        state = state * 1664525u + 1013904223u;
        const uint16_t texel = (state >> 28) == 0 ? 0 : uint16_t(0x8000 | (state >> 17));
        texels[i] = uint8_t(texel);
        texels[i + 1] = uint8_t(texel >> 8);
    }
    return texels;
}

TTombRaiderLevel& tileLevel() {
    static TTombRaiderLevel level = [] {
        levelwriter::LevelDescription description;
        description.code = 6;
        description.tileCount = kTiles;
        description.tiles16 = tileTexels();
        TTombRaiderLevel loaded;
        loaded.LoadLevelFromBytes(levelwriter::WriteLevel(description), "/bench/tiles.tr4", true);
        return loaded;
    }();
    return level;
}

// The floor: the tile bytes copied once.
void copyTiles(const TTombRaiderLevel& level) {
    std::vector<uint8_t> copy(level.Tiles16);
    benchmark::DoNotOptimize(copy.data());
}

int registerTiles(TTombRaiderLevel& level) {
    TD3DScene scene(nullptr);
    const int registered = scene.RegisterLevelTiles(level);
    return registered;
}

// The best of several batches, so that a busy machine disturbs the ratio less.
double secondsPerRun(const std::function<void()>& work, int runs) {
    double best = 1e300;
    for (int batch = 0; batch < 5; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < runs; ++i) work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / runs);
    }
    return best;
}

void BM_RegisterTiles_TR4(benchmark::State& state) {
    TTombRaiderLevel& level = tileLevel();
    const double floor = secondsPerRun([&] { copyTiles(level); }, 10);
    for (auto _ : state) benchmark::DoNotOptimize(registerTiles(level));
    const double registering = secondsPerRun([&] { registerTiles(level); }, 2);
    state.SetBytesProcessed(state.iterations() * int64_t(level.Tiles16.size()));
    state.counters["tiles"] = kTiles;
    state.counters["copy_MB/s"] = double(level.Tiles16.size()) / floor / 1e6;
    state.counters["ratio_to_copy"] = registering / floor;
}

BENCHMARK(BM_RegisterTiles_TR4)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace grottix
