#include "import/MeshPlacement.h"

#include <cmath>
#include <numbers>

namespace grottix {

namespace {

// The rotation in the plane of axes a and b that takes a towards b.
TMeshPlacement planeRotation(int a, int b, double turns) {
    const double angle = turns * 2 * std::numbers::pi, c = std::cos(angle), s = std::sin(angle);
    TMeshPlacement r;
    r.m[size_t(a)][size_t(a)] = c;
    r.m[size_t(a)][size_t(b)] = -s;
    r.m[size_t(b)][size_t(a)] = s;
    r.m[size_t(b)][size_t(b)] = c;
    return r;
}

}  // namespace

TMeshPlacement TMeshPlacement::Translation(double x, double y, double z) {
    TMeshPlacement t;
    t.m[0][3] = x;
    t.m[1][3] = y;
    t.m[2][3] = z;
    return t;
}

TMeshPlacement TMeshPlacement::RotationY(double turns) { return planeRotation(2, 0, turns); }
TMeshPlacement TMeshPlacement::RotationX(double turns) { return planeRotation(1, 2, turns); }
TMeshPlacement TMeshPlacement::RotationZ(double turns) { return planeRotation(0, 1, turns); }

TMeshPlacement TMeshPlacement::operator*(const TMeshPlacement& other) const {
    TMeshPlacement out;
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 4; ++j) {
            double sum = j == 3 ? m[i][3] : 0;
            for (size_t k = 0; k < 3; ++k) sum += m[i][k] * other.m[k][j];
            out.m[i][j] = sum;
        }
    return out;
}

std::array<double, 3> TMeshPlacement::Apply(double x, double y, double z) const {
    std::array<double, 3> out{};
    for (size_t i = 0; i < 3; ++i) out[i] = m[i][0] * x + m[i][1] * y + m[i][2] * z + m[i][3];
    return out;
}

}  // namespace grottix
