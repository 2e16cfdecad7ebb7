// The cost of animating items, against drawing the frame: a hundred items of a fifteen-mesh
// moveable (64 vertices a mesh, about a real creature's) stand in view of a TR4 level drawn by the
// CPU rasterizer at 1280 x 720. Each measured frame is drawn twice in turn: once as it is, and once
// after posing every item for the frame's time (its animation run's pose, the meshes placed through
// the mesh tree and every vertex of every mesh moved to its place, as the view will have to). The
// figure is ratio_animated_to_still: the posed frame's time over the still frame's (the aim is at
// most 1.1), with the posing alone as pose_ms and the still frame as frame_ms.
//
// BM_AnimatedItemsInTheView measures the view itself: two viewers on the level, one whose items
// stand still (no item animator, as before items played) and one playing them on the level's clock
// (its item animator posing every item in view each frame); frames drawn in turn. Its
// ratio_animated_to_still is the figure the aim of 1.1 holds for.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "import/MoveablePose.h"
#include "level/AnimationPose.h"
#include "level/TombRaiderLevel.h"
#include "level_writer/LevelWriter.h"
#include "support/ItemLevel.h"
#include "viewer/HeadlessViewer.h"

namespace grottix {
namespace {

using namespace levelwriter;

constexpr int kCode = 6, kItems = 100, kMeshes = 15, kGrid = 8, kKeys = 7, kRate = 5;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A mesh of kGrid x kGrid vertices 16 units apart in the x-z plane and the rectangles between them.
std::vector<uint16_t> gridMesh() {
    std::vector<uint16_t> words = {0, 0, 0, 0, 0, uint16_t(kGrid * kGrid)};
    for (int z = 0; z < kGrid; ++z)
        for (int x = 0; x < kGrid; ++x) words.insert(words.end(), {uint16_t(x * 16), 0, uint16_t(z * 16)});
    words.push_back(0);  // no normals
    words.push_back(uint16_t((kGrid - 1) * (kGrid - 1)));
    for (int z = 0; z + 1 < kGrid; ++z)
        for (int x = 0; x + 1 < kGrid; ++x) {
            const auto at = [](int cx, int cz) { return uint16_t(cz * kGrid + cx); };
            words.insert(words.end(), {at(x, z), at(x + 1, z), at(x + 1, z + 1), at(x, z + 1), 0, 0});  // texture, effects
        }
    words.push_back(0);  // no triangles
    if (words.size() % 2) words.push_back(0);
    return words;
}

// A chain of kMeshes meshes 48 units apart, one idle of kKeys key frames kRate frames apart that
// turns every mesh a little further each key, and kItems items of it in a grid ahead of the start.
std::string animatedLevel() {
    const std::string path = (std::filesystem::temp_directory_path() / "grottix-bench-animated.tr4").string();
    LevelDescription level = test::ItemLevel(kCode);
    level.meshData = gridMesh();
    level.meshPointers.assign(kMeshes, 0);
    std::vector<int32_t> tree;
    for (int m = 1; m < kMeshes; ++m) tree.insert(tree.end(), {0, 0, -48, 0});
    level.meshTrees = tree;
    std::vector<uint16_t> frames;
    size_t frameWords = 0;
    for (int k = 0; k < kKeys; ++k) {
        std::vector<FrameRotation> turns;
        for (int m = 0; m < kMeshes; ++m) turns.push_back({0, uint16_t(16 * k), uint16_t(32 * k + m), uint16_t(8 * m)});
        const std::vector<uint16_t> key = FrameWords(kCode, {0, int16_t(-8 * k), 0}, turns);
        frameWords = key.size();
        frames.insert(frames.end(), key.begin(), key.end());
    }
    level.frames = frames;
    Animation idle;
    idle.frameRate = kRate;
    idle.frameSize = uint8_t(frameWords);
    idle.frameEnd = (kKeys - 1) * kRate;
    level.animationList = std::vector<Animation>{idle};
    level.moveables = std::vector<Moveable>{{30, kMeshes, 0, 0, 0, 0}};
    level.entities = std::vector<Entity>{{0, 0, 0, 512, -1024, 0}};
    for (int i = 0; i < kItems; ++i)
        level.entities->push_back({30, 0, -1800 + 360 * (i % 10), 400, 100 + 190 * (i / 10), uint16_t(i * 650)});
    WriteLevelFile(level, path);
    return path;
}

void BM_AnimatedItemsFrame(benchmark::State& state) {
    const std::string path = animatedLevel();
    THeadlessViewer viewer(1280, 720);
    viewer.Open(path);
    TTombRaiderLevel level;
    level.LoadLevel(path);
    TAnimationLibrary library(level);
    const TMoveableAnimations& played = library.Moveable(0);
    const std::vector<TMeshTreeNode> tree = *ReadMeshTree(level, played.Moveable());
    std::vector<TAnimationRun> runs(kItems, TAnimationRun(played, 0));
    std::vector<std::array<double, 3>> corners;
    for (int z = 0; z < kGrid; ++z)
        for (int x = 0; x < kGrid; ++x) corners.push_back({double(x * 16), 0, double(z * 16)});

    TAnimationPose pose;
    std::vector<TMeshPlacement> placements;
    std::vector<std::array<double, 3>> moved(size_t(kItems) * kMeshes * corners.size());
    double still = 0, animated = 0, posing = 0;
    int frame = 0;
    for (auto _ : state) {
        const double seconds = frame++ / 60.0;
        auto start = std::chrono::steady_clock::now();
        viewer.DrawFrame();
        still += secondsSince(start);

        start = std::chrono::steady_clock::now();
        size_t at = 0;
        for (int i = 0; i < kItems; ++i) {
            runs[size_t(i)].PoseAt(seconds + i * 0.1, pose);
            PlaceMeshes(tree, pose, TMeshPlacement::Translation(360.0 * i, 400, 0), placements);
            for (const TMeshPlacement& placement : placements)
                for (const auto& c : corners) moved[at++] = placement.Apply(c[0], c[1], c[2]);
        }
        const double posed = secondsSince(start);
        benchmark::DoNotOptimize(moved.data());
        viewer.DrawFrame();
        posing += posed;
        animated += secondsSince(start);
    }
    const double frames = double(state.iterations());
    state.counters["frame_ms"] = still / frames * 1e3;
    state.counters["pose_ms"] = posing / frames * 1e3;
    state.counters["ratio_animated_to_still"] = animated / still;
}
BENCHMARK(BM_AnimatedItemsFrame)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_AnimatedItemsInTheView(benchmark::State& state) {
    const std::string path = animatedLevel();
    THeadlessViewer still(1280, 720), playing(1280, 720);
    still.Open(path);
    playing.Open(path);
    still.Scene.ItemAnimator.reset();
    if (playing.Scene.ItemAnimator->Count() != size_t(kItems)) state.SkipWithError("the items do not play");
    double stillSeconds = 0, animatedSeconds = 0;
    int frame = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        still.DrawFrame();
        stillSeconds += secondsSince(start);
        playing.Scene.FixLevelTime(++frame / 60.0);
        start = std::chrono::steady_clock::now();
        playing.DrawFrame();
        animatedSeconds += secondsSince(start);
    }
    const double frames = double(state.iterations());
    state.counters["frame_ms"] = stillSeconds / frames * 1e3;
    state.counters["animated_frame_ms"] = animatedSeconds / frames * 1e3;
    state.counters["ratio_animated_to_still"] = animatedSeconds / stillSeconds;
}
BENCHMARK(BM_AnimatedItemsInTheView)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
}  // namespace grottix
