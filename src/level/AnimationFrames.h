#pragma once
// The key frames of the frames table: a bounding box, the root mesh's offset and one rotation per
// mesh. Codes 1-2 keep each rotation in two words, the low word of the packed value first (and a
// rotation count before them); later codes put the high word first, and its top two bits say
// whether one axis follows alone (10 bits a turn; codes 6-7 12 bits) or all three in two words.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "level/LevelMoveables.h"

namespace grottix {

struct TAnimation;

// The key frame that begins at word of the frames table, with meshCount rotations; none when the
// table ends inside it. wordsRead, when given, says how many words it took.
std::optional<TFramePose> ReadFrameAt(const TTombRaiderLevel& level, uint64_t word, size_t meshCount,
                                      uint64_t* wordsRead = nullptr);

// Words from one key frame of an animation to the next: codes 1-2 hold every rotation in two words
// (box, offset, count and rotations: 10 + 2 a mesh); later codes say so in the animation's frame size.
uint64_t KeyFrameWords(int versionCode, const TAnimation& animation, size_t meshCount);

// Key frames of an animation: one every frameRate frames from frameStart, the last at frameEnd
// (closer to the one before when the frames do not divide by the rate); 1 for a rate of 0 or a
// reversed range.
size_t KeyFrameCount(const TAnimation& animation);

// Every key frame of the animation for a moveable of meshCount meshes, or none with problem saying
// why (a key frame outside the table, or one longer than the frame size).
std::optional<std::vector<TFramePose>> ReadKeyFrames(const TTombRaiderLevel& level, const TAnimation& animation,
                                                     size_t meshCount, std::string& problem);

}  // namespace grottix
