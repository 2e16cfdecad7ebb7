#pragma once
// Level placements in glTF's axes: the level's point (x, y, z), y pointing down, in level units
// becomes kMetresPerLevelUnit * (x, -y, -z), a half turn about x.

#include <array>

#include "import/MeshPlacement.h"

namespace grottix {

// A floor sector, 1024 level units, is 2.4 m: the player's 762 units come out at 1.79 m.
constexpr double kMetresPerLevelUnit = 2.4 / 1024;

// A level vector in glTF's axes and metres; a zero comes out as 0, not -0.
std::array<double, 3> GltfVector(double x, double y, double z);

// The rotation of a placement in glTF's axes as a unit quaternion x, y, z, w.
std::array<double, 4> GltfRotation(const TMeshPlacement& placement);

}  // namespace grottix
