#pragma once
// The demo level in the layout of one version code.

#include "level_writer/LevelWriter.h"

namespace grottix::demo {

levelwriter::LevelDescription DemoLevel(int code);

struct DemoMesh;
// One mesh in the mesh data layout of the code, padded to 4 bytes.
std::vector<uint8_t> DemoMeshBytes(const DemoMesh& mesh, int code);

}  // namespace grottix::demo
