// AddOrMergeObject over faces spread across 64 textures, the shape of a large level. Reported per
// face, with the time per face at 30 000 faces measured in the same run as the baseline: the ratio
// stays near 1 while merging grows linearly.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "engine/Scene.h"

namespace grottix {
namespace {

std::vector<std::string> textureNames() {
    std::vector<std::string> names;
    for (int i = 1; i <= 64; ++i) names.push_back("->/levels/large level/LEVEL.TR4::" + std::to_string(i));
    return names;
}

// Adds faces, two quadrangles for every triangle, textures in turn; returns seconds per face.
double mergeFaces(int faces) {
    static const std::vector<std::string> names = textureNames();
    TD3DScene scene(nullptr);
    TD3DGenericQuadrangleInfo quad;
    TD3DGenericTriangleInfo triangle;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < faces; ++i) {
        const std::string& name = names[size_t(i * 7 % 64)];
        if (i % 3 == 2) {
            triangle.TextureName = name;
            triangle.Vertices[0].x = float(i);
            scene.AddOrMergeObject(kKindGenericTriangle, &triangle);
        } else {
            quad.TextureName = name;
            quad.Vertices[0].x = float(i);
            scene.AddOrMergeObject(kKindGenericQuadrangle, &quad);
        }
    }
    benchmark::DoNotOptimize(scene.Objects.size());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / faces;
}

void BM_AddOrMergeObject(benchmark::State& state) {
    const int faces = int(state.range(0));
    const double baseline = mergeFaces(30000);
    double perFace = 0;
    for (auto _ : state) perFace = mergeFaces(faces);
    state.SetItemsProcessed(state.iterations() * faces);
    state.counters["ns_per_face"] = perFace * 1e9;
    state.counters["ratio_to_30k"] = perFace / baseline;
}

BENCHMARK(BM_AddOrMergeObject)->Arg(30000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace grottix
