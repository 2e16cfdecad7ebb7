#pragma once
// ItemLevel with an animated item: moveable 30, two square meshes (mesh 1 256 units above mesh 0),
// standing at (0, 512, 1024). Its animation 0 (state 1) plays frames 0-4 with key frames at 0 and
// 4 and goes on to animation 1 (state 2) at frame 10, an idle that plays frames 10-14 through the
// same key frames and comes back to itself. The key frames, in each code's packing:
//   key 0: offset (10, 20, 30); mesh 0 turned (1/4, 7/8, 1/8) about x, y, z; mesh 1 about one axis,
//          y by kFineTurn (codes 3-7: one word in the code's step) or about all three by
//          (1, 2, 3) / 1024 (codes 1-2: the word order shows);
//   key 1: offset (20, 40, 60); no turn.
// Animation 0 sounds 7 at frame 2 and shifts the item 256 along z.

#include "level_writer/LevelWriter.h"
#include "support/ItemLevel.h"

namespace grottix::test {

constexpr uint32_t kAnimatedType = 30;

// Mesh 1's turn about y in key 0 (codes 3-7), in turns: 3073 of 4096 (codes 6-7) or 769 of 1024.
inline double FineTurn(int code) { return code >= 6 ? 3073.0 / 4096 : 769.0 / 1024; }

// A mesh of four vertices (0,0,0) (64,0,0) (64,0,64) (0,0,64) and one rectangle with object
// texture 0, in the mesh data layout of the code.
inline std::vector<uint16_t> SquareMesh(int code) {
    std::vector<uint16_t> words = {0, 0, 0, 0, 0, 4, 0, 0, 0, 64, 0, 0, 64, 0, 64, 0, 0, 64, 0, 1, 0, 1, 2, 3, 0};
    if (code >= 6) words.push_back(0);  // effects
    words.push_back(0);                  // no triangles
    if (code <= 5) words.insert(words.end(), {0, 0});
    if (words.size() % 2) words.push_back(0);
    return words;
}

inline std::vector<uint16_t> AnimatedFrames(int code) {
    using levelwriter::FrameRotation;
    const FrameRotation mesh1 = code <= 2 ? FrameRotation{0, 1, 2, 3}
                                          : FrameRotation{2, 0, uint16_t(code >= 6 ? 3073 : 769), 0};
    std::vector<uint16_t> words = levelwriter::FrameWords(code, {10, 20, 30}, {{0, 256, 896, 128}, mesh1});
    const std::vector<uint16_t> second = levelwriter::FrameWords(code, {20, 40, 60}, {{}, {}});
    words.resize(second.size(), 0);  // both key frames the same size: the frame size
    words.insert(words.end(), second.begin(), second.end());
    return words;
}

inline levelwriter::LevelDescription AnimatedLevel(int code) {
    using namespace levelwriter;
    LevelDescription level = ItemLevel(code);
    level.meshData = SquareMesh(code);
    level.meshPointers = {0, 0};
    level.meshTrees = std::vector<int32_t>{0, 0, -256, 0};
    const std::vector<uint16_t> frames = AnimatedFrames(code);
    level.frames = frames;
    const auto frameSize = uint8_t(frames.size() / 2);
    Animation start, idle;
    start = {0, 4, frameSize, 1, 65536, 0, 0, 0, 0, 4, 1, 10, 0, 0, 2, 0};
    idle = {0, 4, frameSize, 2, 0, 0, 0, 0, 10, 14, 1, 10, 1, 0, 0, 0};
    if (code >= 6) start.lateralSpeed = -65536;
    level.animationList = std::vector<Animation>{start, idle};
    level.stateChanges = std::vector<std::array<uint16_t, 3>>{{1, 1, 0}};
    level.animDispatches = std::vector<std::array<int16_t, 4>>{{10, 14, 0, 0}};
    level.animCommands = std::vector<uint16_t>{5, 2, 7, 1, 0, 0, 256};
    level.moveables = std::vector<Moveable>{{kAnimatedType, 2, 0, 0, 0, 0}};
    level.entities = std::vector<Entity>{{0, 0, 0, 512, -1024, 0}, {int16_t(kAnimatedType), 0, 0, 512, 1024, 0}};
    return level;
}

}  // namespace grottix::test
