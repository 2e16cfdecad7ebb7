#include "level/LevelMoveables.h"

#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr size_t kMoveableSize = 18, kSequenceSize = 8;

// Reads the frame words one by one; reading past the table fails the whole frame.
class FrameCursor {
public:
    FrameCursor(const TLevelTable& frames, uint64_t word) : frames_(frames), next_(word) {}
    bool word(uint16_t& out) {
        if (next_ >= RecordCount(frames_, 2)) return false;
        out = RawField<uint16_t>(frames_.bytes.data(), size_t(next_++) * 2);
        return true;
    }
    bool skip(uint64_t words) {
        next_ += words;
        return next_ <= RecordCount(frames_, 2);
    }

private:
    const TLevelTable& frames_;
    uint64_t next_;
};

// Three angles of 10 bits each (1024 to a turn): x in bits 20-29, y in 10-19, z in 0-9.
TMeshRotation threeAxes(uint32_t packed) {
    return {double((packed >> 20) & 0x3FF) / 1024, double((packed >> 10) & 0x3FF) / 1024, double(packed & 0x3FF) / 1024};
}

// Codes 1-2 keep every rotation as a little-endian 32-bit value. Later versions start with the
// high word, whose top two bits say whether one axis follows alone (1 x, 2 y, 3 z) in the rest of
// the word (10 bits a turn; codes 6-7: 12 bits) or all three in this word and the next.
bool readRotation(FrameCursor& in, int code, TMeshRotation& out) {
    uint16_t first = 0, second = 0;
    if (!in.word(first)) return false;
    if (code <= 2) {
        if (!in.word(second)) return false;
        out = threeAxes(uint32_t(second) << 16 | first);
        return true;
    }
    const int axis = first >> 14;
    if (axis == 0) {
        if (!in.word(second)) return false;
        out = threeAxes(uint32_t(first) << 16 | second);
        return true;
    }
    const double angle = code >= 6 ? double(first & 0x0FFF) / 4096 : double(first & 0x03FF) / 1024;
    out = {};
    (axis == 1 ? out.x : axis == 2 ? out.y : out.z) = angle;
    return true;
}

uint64_t animationFrameOffset(const TTombRaiderLevel& level, const TMoveable& moveable, bool& valid) {
    valid = true;
    if (moveable.animation == 0xFFFF) return moveable.frameOffset;
    const size_t size = level.VersionCode >= 6 ? 40 : 32;
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
    FrameCursor in(level.Frames, byteOffset / 2);
    TFramePose pose;
    uint16_t word = 0;
    if (!in.skip(6)) return std::nullopt;  // the bounding box
    for (auto& c : pose.offset) {
        if (!in.word(word)) return std::nullopt;
        c = int16_t(word);
    }
    if (level.VersionCode <= 2 && !in.skip(1)) return std::nullopt;  // the rotation count
    pose.rotations.resize(moveable.meshCount);
    for (auto& rotation : pose.rotations)
        if (!readRotation(in, level.VersionCode, rotation)) return std::nullopt;
    return pose;
}

}  // namespace grottix
