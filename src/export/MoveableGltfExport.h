#pragma once
// One moveable of a level as a binary glTF file: a node per mesh, joined as its mesh tree joins
// them, in the pose of its first frame, with each of its own animations as a glTF animation named
// by number and state ("anim 3 (state 2)") that turns the meshes and moves the root at its key
// frames. Blender imports the animations as actions. The meshes come through the import's face
// builder and the level export's builder and materials.

#include <cstdint>
#include <string>
#include <vector>

#include "export/LevelGltfExport.h"

namespace grottix {

struct TModelExportReport {
    size_t Meshes = 0, Animations = 0, Triangles = 0, Bytes = 0;
    std::string Problem;              // for a level that did not load cleanly, what is wrong
    std::vector<std::string> Damage;  // animations the tables do not hold, left out
};

// Writes the moveable of object id type of the level at path as out. Returns the load result and
// writes nothing unless it is 0; a level without that moveable, one whose meshes or mesh tree the
// tables do not hold, or a failed write raises. Of options, LightFactor and Filtering apply.
uint8_t ExportMoveableToGltf(const std::string& path, uint32_t type, const std::string& out,
                             const TGltfExportOptions& options = {}, TModelExportReport* report = nullptr);

// A glTF animation's name: "anim 3 (state 2)".
std::string ModelAnimationName(uint16_t animation, uint16_t state);

}  // namespace grottix
