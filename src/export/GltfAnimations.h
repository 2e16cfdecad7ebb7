#pragma once
// glTF animations of items' meshes: for each item, a channel per mesh node turning it and one moving
// its root mesh, keyed at chosen times with a pose each. glTF interpolates rotations by slerp,
// which between two key frames differs only slightly from the games' turn on each axis.

#include <vector>

#include "export/GltfDocument.h"
#include "export/GltfLevelBuilder.h"
#include "level/AnimationPose.h"

namespace grottix {

struct TGltfPoseKeys {
    std::vector<double> seconds;        // rising
    std::vector<TAnimationPose> poses;  // one per time
};

// The clip's key frames at their times from its start.
TGltfPoseKeys ClipKeys(const TAnimationClip& clip);

// A run from its start up to seconds: a key wherever an animation begins, each key frame it
// passes, each last frame before it goes on, and one at seconds.
TGltfPoseKeys RunKeys(const TAnimationRun& run, double seconds);

// Adds to animation (a glTF animation with "channels" and "samplers" arrays) the keys of an item
// whose mesh nodes are meshNodes (root first): a rotation channel per mesh, a translation channel
// for the root. Nothing for no keys or no nodes.
void AddPoseChannels(TGltfDocument& document, TJson& animation, const std::vector<int>& meshNodes, const TGltfPoseKeys& keys);

// The level's items play for as long as the longest takes to come round once, but no longer than this.
constexpr double kLongestItemAnimation = 60;  // seconds

// One glTF animation, "items", in which every item with mesh nodes plays from its moveable's first
// animation on; returns how many items play (0: no animation added). Damage of the animation tables
// goes to damage; the items it touches keep still.
size_t AddItemAnimation(TGltfDocument& document, const TTombRaiderLevel& level,
                        const std::vector<TGltfLevelBuilder::TItemNodes>& items, std::vector<TLevelDamage>* damage = nullptr);

}  // namespace grottix
