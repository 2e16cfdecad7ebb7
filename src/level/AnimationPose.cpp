#include "level/AnimationPose.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <string>
#include <tuple>

#include "level/AnimationFrames.h"
#include "level/LevelLimits.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

// A run that has not come round after this many animations repeats from its start.
constexpr size_t kMostSegments = 4096;

// From a towards b by the shorter way round (angles in turns).
double turnTowards(double a, double b, double f) {
    double d = b - a;
    d -= std::round(d);
    return a + d * f;
}

}  // namespace

TAnimationPose TAnimationPose::Of(const TFramePose& frame) {
    return {{double(frame.offset[0]), double(frame.offset[1]), double(frame.offset[2])}, frame.rotations};
}

uint32_t TAnimationClip::KeyFrame(size_t k) const {
    return uint32_t(std::min<uint64_t>(uint64_t(k) * animation.frameRate, uint64_t(animation.frameEnd - animation.frameStart)));
}

void PoseClipAt(const TAnimationClip& clip, double frame, TAnimationPose& out) {
    const TAnimation& a = clip.animation;
    double r = frame - a.frameStart;
    if (!(r > 0)) r = 0;  // NaN too
    r = std::min(r, double(a.frameEnd - a.frameStart));
    const size_t last = clip.keys.size() - 1;
    const size_t k = std::min(size_t(r / a.frameRate), last);
    const TFramePose& from = clip.keys[k];
    out.rotations.resize(from.rotations.size());
    if (k == last) {
        for (size_t c = 0; c < 3; ++c) out.offset[c] = from.offset[c];
        std::copy(from.rotations.begin(), from.rotations.end(), out.rotations.begin());
        return;
    }
    const TFramePose& to = clip.keys[k + 1];
    const double t0 = clip.KeyFrame(k), f = (r - t0) / (clip.KeyFrame(k + 1) - t0);
    for (size_t c = 0; c < 3; ++c) out.offset[c] = from.offset[c] + (to.offset[c] - from.offset[c]) * f;
    for (size_t m = 0; m < from.rotations.size(); ++m) {
        const TMeshRotation &p = from.rotations[m], &q = to.rotations[m];
        out.rotations[m] = {turnTowards(p.x, q.x, f), turnTowards(p.y, q.y, f), turnTowards(p.z, q.z, f)};
    }
}

std::pair<uint16_t, size_t> MoveableAnimationRange(const std::vector<TMoveable>& moveables, size_t index, size_t animations) {
    const uint16_t first = moveables[index].animation;
    if (first == 0xFFFF || first >= animations) return {first, 0};
    size_t end = animations;
    for (const TMoveable& m : moveables)
        if (m.animation != 0xFFFF && m.animation > first) end = std::min<size_t>(end, m.animation);
    return {first, end - first};
}

TAnimationLibrary::TAnimationLibrary(const TTombRaiderLevel& level)
    : level_(level), tables_(ReadLevelAnimations(level)), moveables_(ReadMoveables(level)), rotationsLeft_(kMaxPosedRotations),
      damage_(tables_.damage) {
    for (size_t i = 0; i < moveables_.size(); ++i) byObject_.try_emplace(moveables_[i].objectId, i);
}

const TAnimationLibrary::TDecoded& TAnimationLibrary::decode(uint16_t animation, uint16_t meshCount, uint32_t objectId) {
    const auto [entry, added] = decoded_.try_emplace(uint32_t(animation) << 16 | meshCount);
    TDecoded& decoded = entry->second;
    if (!added) return decoded;
    const TAnimation& record = tables_.animations[animation];
    std::string problem;
    TLevelProblem kind = TLevelProblem::Inconsistent;
    const uint64_t rotations = uint64_t(KeyFrameCount(record)) * meshCount;
    std::optional<std::vector<TFramePose>> keys;
    if (rotations > rotationsLeft_) {
        kind = TLevelProblem::TooLarge;
        problem = "the key frames of the level's animations pass " + std::to_string(kMaxPosedRotations) + " mesh rotations";
    } else {
        keys = ReadKeyFrames(level_, record, meshCount, problem);
    }
    if (keys) {
        rotationsLeft_ -= rotations;
        decoded.clip = TAnimationClip{animation, record, std::move(*keys)};
        return decoded;
    }
    TLevelDamage d;
    d.Problem = kind;
    d.Section = "frames";
    d.Offset = record.frameOffset;
    d.Bytes = TLevelBytes::Table;
    d.Detail = "animation " + std::to_string(animation) + " of object " + std::to_string(objectId) + ": " + problem;
    decoded.damage = d;
    damage_.push_back(std::move(d));
    return decoded;
}

const TMoveableAnimations& TAnimationLibrary::Moveable(size_t index) {
    const auto [entry, added] = played_.try_emplace(index);
    TMoveableAnimations& m = entry->second;
    if (!added) return m;
    m.moveable_ = moveables_[index];
    m.firstFrame_ = ReadFirstFrame(level_, m.moveable_);
    std::tie(m.first_, m.count_) = MoveableAnimationRange(moveables_, index, tables_.animations.size());
    for (size_t d = 0; d < tables_.damage.size(); ++d)
        if (tables_.damaged[d] >= m.first_ && tables_.damaged[d] < m.first_ + m.count_) m.damage_.push_back(tables_.damage[d]);
    if (m.moveable_.meshCount == 0) return m;
    std::deque<size_t> queue;
    for (size_t i = 0; i < m.count_; ++i) queue.push_back(m.first_ + i);
    std::vector<uint8_t> seen(tables_.animations.size(), 0);
    while (!queue.empty()) {
        const size_t i = queue.front();
        queue.pop_front();
        if (i >= seen.size() || seen[i] || !tables_.usable[i]) continue;  // the tables report their own damage
        seen[i] = 1;
        const TDecoded& decoded = decode(uint16_t(i), m.moveable_.meshCount, m.moveable_.objectId);
        if (decoded.damage) m.damage_.push_back(*decoded.damage);
        if (!decoded.clip) continue;
        m.clips_.emplace(uint16_t(i), &*decoded.clip);
        queue.push_back(decoded.clip->animation.nextAnimation);
    }
    return m;
}

const TMoveableAnimations* TAnimationLibrary::Object(uint32_t objectId) {
    const auto found = byObject_.find(objectId);
    return found == byObject_.end() ? nullptr : &Moveable(found->second);
}

const TAnimationClip* TMoveableAnimations::Clip(uint16_t animation) const {
    const auto found = clips_.find(animation);
    return found == clips_.end() ? nullptr : found->second;
}

TAnimationRun::TAnimationRun(const TMoveableAnimations& moveables, uint16_t animation) {
    if (moveables.FirstFrame()) still_ = TAnimationPose::Of(*moveables.FirstFrame());
    else still_.rotations.resize(moveables.Moveable().meshCount);
    const TAnimationClip* clip = moveables.Clip(animation);
    if (!clip) return;
    std::map<std::pair<uint16_t, uint16_t>, size_t> started;  // (animation, frame) -> segment
    uint16_t from = clip->animation.frameStart;
    double at = 0;
    while (true) {
        started.emplace(std::pair{clip->index, from}, segments_.size());
        segments_.push_back({clip, from, at});
        at += double(clip->animation.frameEnd - from) + 1;
        const uint16_t nextAnimation = clip->animation.nextAnimation, nextFrame = clip->animation.nextFrame;
        const auto again = started.find({nextAnimation, nextFrame});
        if (again != started.end() || segments_.size() >= kMostSegments) {
            loop_ = again != started.end() ? again->second : 0;
            loopStart_ = segments_[loop_].start;
            period_ = at - loopStart_;
            return;
        }
        clip = moveables.Clip(nextAnimation);
        if (!clip) {
            segments_.clear();  // an animation that cannot play: the run stands still
            return;
        }
        from = nextFrame;
    }
}

std::pair<size_t, double> TAnimationRun::At(double frames) const {
    if (!(frames > 0) || !std::isfinite(frames)) frames = 0;
    if (frames >= loopStart_ + period_) frames = loopStart_ + std::fmod(frames - loopStart_, period_);
    const auto after = std::upper_bound(segments_.begin(), segments_.end(), frames,
                                        [](double f, const TSegment& s) { return f < s.start; });
    const size_t s = size_t(after - segments_.begin()) - 1;
    const TSegment& segment = segments_[s];
    return {s, std::min(segment.fromFrame + (frames - segment.start), double(segment.clip->animation.frameEnd))};
}

void TAnimationRun::PoseAt(double seconds, TAnimationPose& out) const {
    if (segments_.empty()) {
        out.offset = still_.offset;
        out.rotations.resize(still_.rotations.size());
        std::copy(still_.rotations.begin(), still_.rotations.end(), out.rotations.begin());
        return;
    }
    const auto [s, frame] = At(seconds * kGameFramesPerSecond);
    PoseClipAt(*segments_[s].clip, frame, out);
}

TAnimationPose PoseMoveableAt(const TMoveableAnimations& moveable, uint16_t animation, double seconds) {
    TAnimationPose pose;
    TAnimationRun(moveable, animation).PoseAt(seconds, pose);
    return pose;
}

}  // namespace grottix
