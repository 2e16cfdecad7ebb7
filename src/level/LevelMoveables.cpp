#include "level/LevelMoveables.h"

#include "level/AnimationFrames.h"
#include "level/LevelAnimations.h"
#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr size_t kMoveableSize = 18, kSequenceSize = 8;

uint64_t animationFrameOffset(const TTombRaiderLevel& level, const TMoveable& moveable, bool& valid) {
    valid = true;
    if (moveable.animation == 0xFFFF) return moveable.frameOffset;
    const size_t size = AnimationRecordSize(level.VersionCode);
    if (moveable.animation >= RecordCount(level.Animations, size)) {
        valid = false;
        return 0;
    }
    return RawField<uint32_t>(level.Animations.bytes.data(), size_t(moveable.animation) * size);
}

}  // namespace

std::optional<uint32_t> LevelSkyObject(int versionCode) {
    switch (versionCode) {
    case 3:
    case 4: return 254;
    case 5: return 355;
    case 6: return 459;
    case 7: return 454;
    default: return std::nullopt;
    }
}

std::vector<TMoveable> ReadMoveables(const TTombRaiderLevel& level) {
    std::vector<TMoveable> moveables(RecordCount(level.Moveables, kMoveableSize));
    for (size_t i = 0; i < moveables.size(); ++i) {
        const uint8_t* r = level.Moveables.bytes.data() + i * kMoveableSize;
        moveables[i] = {RawField<uint32_t>(r, 0), RawField<uint16_t>(r, 4), RawField<uint16_t>(r, 6),
                        RawField<uint32_t>(r, 8), RawField<uint32_t>(r, 12), RawField<uint16_t>(r, 16)};
    }
    return moveables;
}

std::vector<TSpriteSequence> ReadSpriteSequences(const TTombRaiderLevel& level) {
    std::vector<TSpriteSequence> sequences(RecordCount(level.SpriteSequences, kSequenceSize));
    for (size_t i = 0; i < sequences.size(); ++i) {
        const uint8_t* r = level.SpriteSequences.bytes.data() + i * kSequenceSize;
        sequences[i] = {RawField<int32_t>(r, 0), int16_t(-RawField<int16_t>(r, 4)), RawField<uint16_t>(r, 6)};
    }
    return sequences;
}

std::optional<std::vector<TMeshTreeNode>> ReadMeshTree(const TTombRaiderLevel& level, const TMoveable& moveable) {
    const uint64_t nodes = moveable.meshCount > 0 ? moveable.meshCount - 1u : 0;
    if (uint64_t(moveable.meshTree) + nodes * 4 > RecordCount(level.MeshTrees, 4)) return std::nullopt;
    std::vector<TMeshTreeNode> tree(nodes);
    const uint8_t* words = level.MeshTrees.bytes.data() + size_t(moveable.meshTree) * 4;
    for (size_t i = 0; i < tree.size(); ++i) {
        const uint8_t* node = words + i * 16;
        const uint32_t flags = RawField<uint32_t>(node, 0);
        tree[i] = {(flags & 1) != 0, (flags & 2) != 0, {RawField<int32_t>(node, 4), RawField<int32_t>(node, 8), RawField<int32_t>(node, 12)}};
    }
    return tree;
}

std::optional<TFramePose> ReadFirstFrame(const TTombRaiderLevel& level, const TMoveable& moveable) {
    bool valid = false;
    const uint64_t byteOffset = animationFrameOffset(level, moveable, valid);
    if (!valid || byteOffset % 2) return std::nullopt;
    return ReadFrameAt(level, byteOffset / 2, moveable.meshCount);
}

}  // namespace grottix
