#pragma once
// The animated objects of a level as the file describes them: moveables (a mesh list, a mesh tree
// and a first animation each), their mesh trees, the first frame of an animation (a root offset
// and one rotation per mesh), and the sprite sequences of sprite objects. Every index these hold
// comes from the file: the lookups here check it against the table it names and say "none".

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct TMoveable {
    uint32_t objectId = 0;
    uint16_t meshCount = 0;
    uint16_t firstMesh = 0;        // index into the mesh pointers
    uint32_t meshTree = 0;         // index into the mesh tree words (4 per node)
    uint32_t frameOffset = 0;      // byte offset into the frames
    uint16_t animation = 0xFFFF;   // first animation, 0xFFFF for none
};

// Mesh i (from 1) is placed relative to its parent: the previous mesh, or the one popped from the
// stack; push keeps the parent for a later pop.
struct TMeshTreeNode {
    bool pop = false, push = false;
    std::array<int32_t, 3> offset{};
};

// Angles in turns (1 is a full turn), applied to a mesh as Y, then X, then Z.
struct TMeshRotation {
    double x = 0, y = 0, z = 0;
};

struct TFramePose {
    std::array<int16_t, 6> box{};     // min x, max x, min y, max y, min z, max z
    std::array<int16_t, 3> offset{};  // of the root mesh, level units
    std::vector<TMeshRotation> rotations;
};

struct TSpriteSequence {
    int32_t objectId = 0;
    int16_t count = 0;   // stored negated in the file
    uint16_t first = 0;  // index into the sprite textures
};

// The object id of the sky moveable of a version (TR2 254, TR3 355, TR4 459, TR5 454); none for TR1.
std::optional<uint32_t> LevelSkyObject(int versionCode);

std::vector<TMoveable> ReadMoveables(const TTombRaiderLevel& level);
std::vector<TSpriteSequence> ReadSpriteSequences(const TTombRaiderLevel& level);

// The meshCount - 1 nodes of a moveable's tree, or none when they lie outside the table.
std::optional<std::vector<TMeshTreeNode>> ReadMeshTree(const TTombRaiderLevel& level, const TMoveable& moveable);

// The first frame of the moveable's first animation (its own frame offset when it has none), with
// one rotation per mesh; none when the frame lies outside the frames table.
std::optional<TFramePose> ReadFirstFrame(const TTombRaiderLevel& level, const TMoveable& moveable);

}  // namespace grottix
