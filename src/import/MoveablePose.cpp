#include "import/MoveablePose.h"

namespace grottix {

TMeshPlacement MeshRotation(const TMeshRotation& r) {
    return TMeshPlacement::RotationY(r.y) * TMeshPlacement::RotationX(r.x) * TMeshPlacement::RotationZ(r.z);
}

std::vector<int> MeshParents(const std::vector<TMeshTreeNode>& tree) {
    std::vector<int> parents(tree.size() + 1, -1);
    std::vector<int> stack;
    int parent = 0;
    for (size_t i = 1; i < parents.size(); ++i) {
        const TMeshTreeNode& node = tree[i - 1];
        if (node.pop && !stack.empty()) {
            parent = stack.back();
            stack.pop_back();
        }
        if (node.push) stack.push_back(parent);
        parents[i] = parent;
        parent = int(i);
    }
    return parents;
}

void PlaceMeshes(const std::vector<TMeshTreeNode>& tree, const TAnimationPose& pose, const TMeshPlacement& object,
                 std::vector<TMeshPlacement>& out) {
    out.resize(pose.rotations.size());
    TMeshPlacement parent = object * TMeshPlacement::Translation(pose.offset[0], pose.offset[1], pose.offset[2]);
    std::vector<TMeshPlacement> stack;
    for (size_t i = 0; i < out.size(); ++i) {
        if (i > 0 && i - 1 < tree.size()) {
            const TMeshTreeNode& node = tree[i - 1];
            if (node.pop && !stack.empty()) {
                parent = stack.back();
                stack.pop_back();
            }
            if (node.push) stack.push_back(parent);
            parent = parent * TMeshPlacement::Translation(node.offset[0], node.offset[1], node.offset[2]);
        }
        parent = parent * MeshRotation(pose.rotations[i]);
        out[i] = parent;
    }
}

}  // namespace grottix
