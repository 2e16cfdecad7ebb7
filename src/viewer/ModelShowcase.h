#pragma once
// One moveable or static mesh of the level shown alone: every object of the level hidden, the model
// imported at the origin, and the eye going slowly round it. A moveable plays one animation at a
// time, paused or playing, looping it or going on to its next animation, or stepped a game frame at
// a time. Leaving puts the level back as it was: the model's objects deleted, every object's hidden
// flag, the rooms shown, the outline and the eye restored.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/EngineTypes.h"
#include "import/SceneFaceSink.h"
#include "viewer/ItemAnimator.h"

namespace grottix {

class TGrottixViewerScene;

class TModelShowcase {
public:
    enum class TKind { Moveable, StaticMesh };

    // Shows the model (a moveable by object id, a static mesh by its definition's object id) in
    // place of the level; false, and the scene as it was, when the level cannot draw it. gamma: the
    // light factor the level was opened with.
    bool Show(TGrottixViewerScene& scene, TKind kind, uint32_t id, float gamma);
    void Leave(TGrottixViewerScene& scene);
    bool Showing() const { return id_ != 0; }

    // Each frame: the eye at its place on the circle, the animation moved on by the time since the
    // last frame (seconds on any steady clock).
    void Advance(TGrottixViewerScene& scene, double seconds);

    // The moveable's animations, none for a static mesh or a moveable without any.
    const TMoveableAnimations* Moveable() const { return moveable_; }
    // Plays animation (from its first frame); false when the moveable does not hold it.
    bool Play(TGrottixViewerScene& scene, uint16_t animation);
    uint16_t Animation() const { return animation_; }
    // The frame shown, a frame number of the animation (fractional while playing).
    double Frame() const { return frame_; }
    bool Playing = true;
    // At its end an animation starts again, rather than going on to its next animation.
    bool Loop = true;
    // One game frame on, and paused.
    void Step(TGrottixViewerScene& scene);

private:
    void moveOn(double frames);
    void showPose();
    void restore(TGrottixViewerScene& scene);
    // Whether the scene still holds the model: a scene reset (another level) takes its objects.
    bool current(const TGrottixViewerScene& scene);

    int32_t id_ = 0;  // the model's objects
    std::shared_ptr<const TTombRaiderLevel> level_;  // the level they were made from
    std::unique_ptr<TItemAnimator> poser_;
    const TMoveableAnimations* moveable_ = nullptr;  // in poser_'s library
    uint16_t animation_ = 0;
    double frame_ = 0;
    std::optional<double> lastSeconds_;
    double turnStart_ = -1;
    TD3DVector centre_;
    float distance_ = 1;
    TAnimationPose pose_;
    // The level as it was shown.
    std::vector<uint8_t> hidden_;
    std::optional<TSceneBox> outlined_;
    TD3DVector eye_, eyeAngles_;
};

}  // namespace grottix
