#pragma once
// Placing mesh vertices: affine transforms in level units (y grows downwards), composed from
// translations and the games' rotations about the three axes (angles in turns).

#include <array>

namespace grottix {

struct TMeshPlacement {
    std::array<std::array<double, 4>, 3> m{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}}};

    static TMeshPlacement Translation(double x, double y, double z);
    // About y: 0 leaves +z, a quarter turn takes +z to +x.
    static TMeshPlacement RotationY(double turns);
    static TMeshPlacement RotationX(double turns);
    static TMeshPlacement RotationZ(double turns);

    // this applied after other.
    TMeshPlacement operator*(const TMeshPlacement& other) const;
    std::array<double, 3> Apply(double x, double y, double z) const;
};

}  // namespace grottix
