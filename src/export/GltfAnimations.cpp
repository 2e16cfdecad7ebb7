#include "export/GltfAnimations.h"

#include <cmath>
#include "export/GltfAxes.h"
#include "export/GltfLevelBuilder.h"
#include "level/LevelMoveables.h"
#include "import/MoveablePose.h"

namespace grottix {

namespace {

constexpr int kTranslation = 0, kRotation = 1;

void addChannel(TGltfDocument& document, TJson& animation, int input, int node, int path, const std::vector<float>& values) {
    const int output = document.AddFloats(values, path == kRotation ? 4 : 3, TGltfDocument::kNoTarget);
    animation["samplers"].push_back({{"input", input}, {"output", output}, {"interpolation", "LINEAR"}});
    animation["channels"].push_back({{"sampler", animation["samplers"].size() - 1},
                                     {"target", {{"node", node}, {"path", path == kRotation ? "rotation" : "translation"}}}});
}

}  // namespace

TGltfPoseKeys ClipKeys(const TAnimationClip& clip) {
    TGltfPoseKeys keys;
    for (size_t k = 0; k < clip.keys.size(); ++k) {
        keys.seconds.push_back(clip.KeyFrame(k) / kGameFramesPerSecond);
        keys.poses.push_back(TAnimationPose::Of(clip.keys[k]));
    }
    return keys;
}

TGltfPoseKeys RunKeys(const TAnimationRun& run, double seconds) {
    TGltfPoseKeys keys;
    const double end = seconds * kGameFramesPerSecond;
    std::vector<double> frames;
    if (run.Animated()) {
        const auto& segments = run.Segments();
        double start = 0;
        for (size_t s = 0; start < end; s = s + 1 < segments.size() ? s + 1 : run.LoopSegment()) {
            const auto& segment = segments[s];
            const TAnimation& a = segment.clip->animation;
            frames.push_back(start);
            for (size_t k = 0; k < segment.clip->keys.size(); ++k) {
                const uint32_t key = a.frameStart + segment.clip->KeyFrame(k);
                if (key > segment.fromFrame) frames.push_back(start + (key - segment.fromFrame));
            }
            start += double(a.frameEnd - segment.fromFrame) + 1;
        }
        while (!frames.empty() && frames.back() >= end) frames.pop_back();
    }
    frames.push_back(end);
    for (double frame : frames) {
        keys.seconds.push_back(frame / kGameFramesPerSecond);
        keys.poses.emplace_back();
        run.PoseAt(frame / kGameFramesPerSecond, keys.poses.back());
    }
    return keys;
}

void AddPoseChannels(TGltfDocument& document, TJson& animation, const std::vector<int>& meshNodes, const TGltfPoseKeys& keys) {
    if (keys.seconds.empty() || meshNodes.empty()) return;
    if (!animation.contains("channels")) animation["channels"] = TJson::array();
    if (!animation.contains("samplers")) animation["samplers"] = TJson::array();
    const std::vector<float> times(keys.seconds.begin(), keys.seconds.end());
    const int input = document.AddFloats(times, 1, TGltfDocument::kNoTarget);
    std::vector<float> offsets;
    for (const TAnimationPose& pose : keys.poses) {
        const auto v = GltfVector(pose.offset[0], pose.offset[1], pose.offset[2]);
        offsets.insert(offsets.end(), v.begin(), v.end());
    }
    addChannel(document, animation, input, meshNodes[0], kTranslation, offsets);
    for (size_t m = 0; m < meshNodes.size(); ++m) {
        std::vector<float> turns;
        std::array<double, 4> previous{0, 0, 0, 1};
        for (const TAnimationPose& pose : keys.poses) {
            std::array<double, 4> q = m < pose.rotations.size() ? GltfRotation(MeshRotation(pose.rotations[m])) : previous;
            // The same turn both ways round: the one nearer the previous key, so that slerp takes the short way.
            if (q[0] * previous[0] + q[1] * previous[1] + q[2] * previous[2] + q[3] * previous[3] < 0)
                for (double& c : q) c = -c;
            turns.insert(turns.end(), q.begin(), q.end());
            previous = q;
        }
        addChannel(document, animation, input, meshNodes[m], kRotation, turns);
    }
}

size_t AddItemAnimation(TGltfDocument& document, const TTombRaiderLevel& level,
                        const std::vector<TGltfLevelBuilder::TItemNodes>& items, std::vector<TLevelDamage>* damage) {
    TAnimationLibrary library(level);
    std::vector<std::pair<const TGltfLevelBuilder::TItemNodes*, TAnimationRun>> runs;
    double frames = 0;
    for (const auto& item : items) {
        const TMoveableAnimations* played = library.Object(uint32_t(uint16_t(item.object.type)));
        if (!played || item.meshes.empty()) continue;
        TAnimationRun run(*played, played->FirstAnimation());
        if (!run.Animated()) continue;
        frames = std::max(frames, run.LoopStart() + run.Period());
        runs.emplace_back(&item, std::move(run));
    }
    if (damage) *damage = library.Damage();
    if (runs.empty()) return 0;
    const double seconds = std::min(frames, kLongestItemAnimation * kGameFramesPerSecond) / kGameFramesPerSecond;
    TJson animation{{"name", "items"}, {"channels", TJson::array()}, {"samplers", TJson::array()}};
    for (const auto& [item, run] : runs) AddPoseChannels(document, animation, item->meshes, RunKeys(run, seconds));
    document.Animations.push_back(std::move(animation));
    return runs.size();
}

}  // namespace grottix
