#pragma once
// Plays the level's items: each item (not the player) whose moveable has animations that move it runs from its moveable's first
// animation on (TAnimationRun), and each frame the items standing in the rooms drawn are posed for
// the level's clock by moving their meshes' vertices from where the import left them. An item whose
// pose did not change since it was last posed costs a comparison; at time 0 every item shows the
// pose the import gave it, vertex for vertex.

#include <memory>
#include <vector>

#include "engine/EngineTypes.h"
#include "import/ItemMeshSpans.h"
#include "level/AnimationPose.h"

namespace grottix {

class TD3DScene;
class TTombRaiderLevel;

class TItemAnimator {
public:
    // spans: where the import put the items' vertices, in the scene's polygons (which must outlive
    // the animator); scale: level units per scene unit. everyItem: also the items that do not play
    // and the player, to be posed by ShowPose.
    TItemAnimator(std::shared_ptr<const TTombRaiderLevel> level, const TItemSpanMap& spans, float scale,
                  bool everyItem = false);
    ~TItemAnimator();
    TItemAnimator(const TItemAnimator&) = delete;
    TItemAnimator& operator=(const TItemAnimator&) = delete;

    // How many items play an animation.
    size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    // Poses the items that stand in the cells the scene draws this frame at seconds of the level's
    // clock (0 and before: the import's pose).
    void PoseAt(const TD3DScene& scene, double seconds);
    // Whether an animated, shown item stands in a cell the scene draws.
    bool AnyInView(const TD3DScene& scene) const;
    // The entity's current pose, none when it does not play.
    const TAnimationPose* PoseOf(int entity) const;
    // Puts the entity's meshes in a pose of its moveable.
    void ShowPose(int entity, const TAnimationPose& pose);
    // The library the runs play from.
    TAnimationLibrary* Library() const { return library_.get(); }

private:
    struct TMeshVertices {
        int index = 0;
        TMeshPlacement inverseRest;       // from the level back to the mesh's own frame
        std::vector<TVertexSpan> spans;
        std::vector<TD3DVector> rest;     // the spans' positions as imported, one after the other
    };
    struct TItem {
        int entity = 0;
        int room = -1;
        TMeshPlacement placement;
        std::vector<TMeshTreeNode> tree;
        TAnimationRun run;
        TAnimationPose shown;             // the pose its vertices are in
        std::vector<TMeshVertices> meshes;
    };

    void pose(TItem& item, double seconds);
    void place(TItem& item, const TAnimationPose& pose);
    void moveMesh(const TMeshVertices& mesh, const TMeshPlacement& placed) const;
    bool shown(const TItem& item) const;

    std::shared_ptr<const TTombRaiderLevel> level_;
    std::unique_ptr<TAnimationLibrary> library_;  // the runs point into it
    std::vector<TItem> items_;
    float scale_;
    TAnimationPose pose_;                      // scratch, kept to spare allocations
    std::vector<TMeshPlacement> placements_;  // scratch
};

}  // namespace grottix
