#pragma once
// A posed moveable's meshes placed through its mesh tree: mesh 0 at the pose's offset, every other
// mesh at its tree offset from its parent, each turned by its rotation of the pose (Y, then X, then Z).

#include <vector>

#include "import/MeshPlacement.h"
#include "level/AnimationPose.h"

namespace grottix {

TMeshPlacement MeshRotation(const TMeshRotation& rotation);

// The mesh each of the tree.size() + 1 meshes hangs from: -1 for the root, else the previous mesh
// or, after a pop, the one kept by the last push.
std::vector<int> MeshParents(const std::vector<TMeshTreeNode>& tree);

// From each mesh's own frame to the level's, the object placed by object; out gets one placement
// per rotation of the pose (tree.size() + 1 of them).
void PlaceMeshes(const std::vector<TMeshTreeNode>& tree, const TAnimationPose& pose, const TMeshPlacement& object,
                 std::vector<TMeshPlacement>& out);

}  // namespace grottix
