#pragma once
// Small level descriptions for the reader's tests.

#include "level_writer/LevelWriter.h"

namespace grottix::test {

// Two classic rooms (codes 1-6) or two layered rooms (code 7) with faces, sprites and static
// meshes, two tiles, object textures, mesh data and a static mesh definition.
levelwriter::LevelDescription SmallLevel(int code);

// The file name whose upper-cased text gives the code, e.g. "level.tub" for code 2.
std::string FileNameFor(int code);

}  // namespace grottix::test
