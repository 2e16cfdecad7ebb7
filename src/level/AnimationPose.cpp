#include "level/AnimationPose.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <string>
#include <unordered_set>

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

size_t MoveableAnimationCount(const std::vector<uint16_t>& firsts, uint16_t first, size_t animations) {
    if (first == 0xFFFF || first >= animations) return 0;
    const auto next = std::upper_bound(firsts.begin(), firsts.end(), first);
    return std::min<size_t>(next == firsts.end() ? animations : *next, animations) - first;
}

TAnimationLibrary::TAnimationLibrary(const TTombRaiderLevel& level)
    : level_(level), tables_(ReadLevelAnimations(level)), moveables_(ReadMoveables(level)), rotationsLeft_(kMaxPosedRotations),
      stepsLeft_(kMaxPosingSteps), damage_(tables_.damage) {
    for (size_t i = 0; i < moveables_.size(); ++i) {
        byObject_.try_emplace(moveables_[i].objectId, i);
        if (moveables_[i].animation != 0xFFFF) firsts_.push_back(moveables_[i].animation);
    }
    std::sort(firsts_.begin(), firsts_.end());
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
    m.first_ = m.moveable_.animation;
    m.count_ = MoveableAnimationCount(firsts_, m.first_, tables_.animations.size());
    // The tables' damage comes in animation order.
    const auto from = std::lower_bound(tables_.damaged.begin(), tables_.damaged.end(), size_t(m.first_));
    for (auto d = from; d != tables_.damaged.end() && *d < m.first_ + m.count_; ++d)
        m.damage_.push_back(tables_.damage[size_t(d - tables_.damaged.begin())]);
    if (m.moveable_.meshCount == 0) return m;
    // Its own animations, then those they go on to.
    std::deque<size_t> queue;
    std::unordered_set<size_t> seen;
    for (size_t own = 0; own < m.count_ || !queue.empty();) {
        size_t i = 0;
        if (own < m.count_) {
            i = m.first_ + own++;
        } else {
            i = queue.front();
            queue.pop_front();
        }
        if (stepsLeft_ == 0) {
            TLevelDamage d;
            d.Problem = TLevelProblem::TooLarge;
            d.Section = "animations";
            d.Offset = uint64_t(i) * AnimationRecordSize(level_.VersionCode);
            d.Bytes = TLevelBytes::Table;
            d.Detail = "the level's moveables look at more than " + std::to_string(kMaxPosingSteps) + " animations";
            m.damage_.push_back(d);
            if (!outOfSteps_) damage_.push_back(d);
            outOfSteps_ = true;
            break;
        }
        --stepsLeft_;
        if (i >= tables_.animations.size() || !tables_.usable[i] || !seen.insert(i).second) continue;  // the tables report their own
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
