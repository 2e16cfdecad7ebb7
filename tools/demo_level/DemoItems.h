#pragma once
// The demo level's items: a statue in the hall built as a moveable (a pedestal, a body turned an
// eighth on it, a head on the body and an arm beside the body on the pedestal: a mesh tree with a
// push and a pop), a small crate pick-up drawn as a sprite item, and the courtyard pool's water as
// an animated texture range that slides across the water picture.

#include <cstdint>
#include <vector>

#include "demo_level/DemoTextures.h"
#include "level_writer/LevelWriter.h"

namespace grottix::demo {

// Adds the items to a level whose rooms, object textures and sprite textures are in place;
// the statue's meshes are appended to meshData (bytes) and the mesh pointers.
void AddDemoItems(levelwriter::LevelDescription& level, const DemoTiles& tiles, std::vector<uint8_t>& meshData);

}  // namespace grottix::demo
