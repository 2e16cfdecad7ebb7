#pragma once
// The parts of the demo level that show full levels' ways: the storeroom has a flooded alternate
// (a water room standing at the same place, shown when the map is flipped; alternate group 1 in
// the versions that have groups), and the versions with a sky moveable get one, a large box of
// water-blue faces around the eye.

#include <cstdint>
#include <vector>

#include "level_writer/LevelWriter.h"

namespace grottix::demo {

// The storeroom's index in the demo rooms, and its flooded alternate's (the last room).
constexpr int kStoreroom = 3;

// Appends the flooded storeroom and links it as the storeroom's alternate.
void AddFloodedStoreroom(levelwriter::LevelDescription& level);

// Adds the sky moveable (its mesh appended to meshData and the mesh pointers) for codes 3-7; its
// first frame is the one at frame offset 0, which must turn the root mesh by nothing.
void AddDemoSky(levelwriter::LevelDescription& level, std::vector<uint8_t>& meshData);

}  // namespace grottix::demo
