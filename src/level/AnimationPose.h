#pragma once
// Moveables posed in time, as plain numbers: the root offset and one rotation per mesh of a
// moveable playing its animations. The games run at 30 frames a second; an animation keeps a key
// frame every frameRate frames and the frames between are interpolated, linearly in the offset and
// by the shorter way round on each axis in rotation. An animation shows each of its frames from
// frameStart to frameEnd for a game frame, then goes on to its next animation at the next frame: an
// idle comes back to itself, a one-shot ends in what follows it.
//
// When the level opens the viewer makes one TAnimationLibrary, and for each item one TAnimationRun
// from its moveable (Object) and first animation; it asks the run for the pose of each frame it
// draws (PoseAt: a lookup and one interpolation per mesh, nothing allocated once the pose has its
// rotations). A run from the moveable's first animation shows at time 0 the first
// frame the level shows before anything moves (ReadFirstFrame's); a run that meets an animation the
// tables do not hold shows that first frame all the time.

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "level/LevelAnimations.h"
#include "level/LevelMoveables.h"

namespace grottix {

constexpr double kGameFramesPerSecond = 30;

struct TAnimationPose {
    std::array<double, 3> offset{};  // of the root mesh, level units
    std::vector<TMeshRotation> rotations;

    static TAnimationPose Of(const TFramePose& frame);
};

// One animation of a moveable with its key frames decoded for the moveable's meshes.
struct TAnimationClip {
    uint16_t index = 0;  // in the level's animations
    TAnimation animation;
    std::vector<TFramePose> keys;  // KeyFrameCount of them

    // Game frames it lasts: each of frameStart .. frameEnd shows for one.
    uint32_t Frames() const { return uint32_t(animation.frameEnd - animation.frameStart) + 1; }
    // The game frame (from frameStart) at which key frame k stands.
    uint32_t KeyFrame(size_t k) const;
};

// The pose at frame, a frame number of the clip (fractional, clamped to frameStart .. frameEnd).
void PoseClipAt(const TAnimationClip& clip, double frame, TAnimationPose& out);

// How many animations from first (a moveable's first animation) belong to it: up to the next
// first animation of any moveable (firsts: all of them, sorted), or the end of the table.
size_t MoveableAnimationCount(const std::vector<uint16_t>& firsts, uint16_t first, size_t animations);

// The animations a moveable plays: its own (MoveableAnimationRange) and every animation those go on
// to, each checked against the frames table for the moveable's meshes. A TAnimationLibrary makes them.
class TMoveableAnimations {
public:
    TMoveableAnimations() = default;

    const TMoveable& Moveable() const { return moveable_; }
    uint16_t FirstAnimation() const { return first_; }
    size_t OwnAnimations() const { return count_; }
    // The decoded animation, none when the tables do not hold it whole or it is not the moveable's.
    const TAnimationClip* Clip(uint16_t animation) const;
    // The pose when nothing plays: the first frame of the first animation (ReadFirstFrame's).
    const std::optional<TFramePose>& FirstFrame() const { return firstFrame_; }
    // What is wrong with its own animations and those they go on to.
    const std::vector<TLevelDamage>& Damage() const { return damage_; }

private:
    friend class TAnimationLibrary;
    TMoveable moveable_;
    uint16_t first_ = 0xFFFF;
    size_t count_ = 0;
    std::unordered_map<uint16_t, const TAnimationClip*> clips_;
    std::optional<TFramePose> firstFrame_;
    std::vector<TLevelDamage> damage_;
};

// A level's animations made ready for posing: the tables read once, each animation's key frames
// decoded once for each mesh count that plays it and shared by the moveables that do, within
// kMaxPosedRotations and kMaxPosingSteps for the whole level (past them, the animations left count
// as not held). The level must outlive the library, and the library the moveables and runs it
// hands out.
class TAnimationLibrary {
public:
    explicit TAnimationLibrary(const TTombRaiderLevel& level);

    const TLevelAnimations& Tables() const { return tables_; }
    const std::vector<TMoveable>& Moveables() const { return moveables_; }
    // Moveable index of Moveables(), decoded on the first call.
    const TMoveableAnimations& Moveable(size_t index);
    // The first moveable of the object id, or none.
    const TMoveableAnimations* Object(uint32_t objectId);
    // The tables' damage, then that of the key frames decoded so far.
    const std::vector<TLevelDamage>& Damage() const { return damage_; }

private:
    struct TDecoded {
        std::optional<TAnimationClip> clip;
        std::optional<TLevelDamage> damage;
    };
    const TDecoded& decode(uint16_t animation, uint16_t meshCount, uint32_t objectId);

    const TTombRaiderLevel& level_;
    TLevelAnimations tables_;
    std::vector<TMoveable> moveables_;
    std::unordered_map<uint32_t, size_t> byObject_;  // object id -> its first moveable
    std::unordered_map<size_t, TMoveableAnimations> played_;
    std::unordered_map<uint32_t, TDecoded> decoded_;  // animation << 16 | mesh count
    std::vector<uint16_t> firsts_;                    // every moveable's first animation, sorted
    uint64_t rotationsLeft_, stepsLeft_;
    bool outOfSteps_ = false;
    std::vector<TLevelDamage> damage_;
};

// A moveable playing from the first frame of one animation on, through the animations that follow,
// until it comes back to an animation and frame it played from before; from there it repeats.
class TAnimationRun {
public:
    struct TSegment {
        const TAnimationClip* clip = nullptr;
        uint16_t fromFrame = 0;  // the clip's frame it starts at
        double start = 0;        // game frames from the start of the run
    };

    TAnimationRun() = default;
    // The library that made moveables must outlive the run.
    TAnimationRun(const TMoveableAnimations& moveables, uint16_t animation);

    // False when the run shows the first frame only: no animation, or one the tables do not hold.
    bool Animated() const { return !segments_.empty(); }
    // Game frames before the repeating part begins, and the length of that part.
    double LoopStart() const { return loopStart_; }
    double Period() const { return period_; }
    const std::vector<TSegment>& Segments() const { return segments_; }
    size_t LoopSegment() const { return loop_; }

    // The pose seconds after the run began (before 0: the first frame).
    void PoseAt(double seconds, TAnimationPose& out) const;
    // The segment and the clip's (fractional) frame the run shows after frames game frames.
    std::pair<size_t, double> At(double frames) const;

private:
    std::vector<TSegment> segments_;
    size_t loop_ = 0;
    double loopStart_ = 0, period_ = 0;
    TAnimationPose still_;
};

// The pose of a moveable seconds into animation: a run made for one question. A viewer posing the
// same item frame after frame keeps a TAnimationRun instead.
TAnimationPose PoseMoveableAt(const TMoveableAnimations& moveable, uint16_t animation, double seconds);

}  // namespace grottix
