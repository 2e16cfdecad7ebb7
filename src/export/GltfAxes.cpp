#include "export/GltfAxes.h"

#include <cmath>

namespace grottix {

// Adding 0 writes a zero as 0, not -0.
std::array<double, 3> GltfVector(double x, double y, double z) {
    return {x * kMetresPerLevelUnit + 0.0, -y * kMetresPerLevelUnit + 0.0, -z * kMetresPerLevelUnit + 0.0};
}

// y and z turned round: S R S with S = diag(1, -1, -1).
std::array<double, 4> GltfRotation(const TMeshPlacement& p) {
    const double s[3] = {1, -1, -1};
    double m[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = s[i] * p.m[size_t(i)][size_t(j)] * s[j];
    std::array<double, 4> q;
    const double trace = m[0][0] + m[1][1] + m[2][2];
    if (trace > 0) {
        const double r = std::sqrt(trace + 1) * 2;
        q = {(m[2][1] - m[1][2]) / r, (m[0][2] - m[2][0]) / r, (m[1][0] - m[0][1]) / r, r / 4};
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        const double r = std::sqrt(1 + m[0][0] - m[1][1] - m[2][2]) * 2;
        q = {r / 4, (m[0][1] + m[1][0]) / r, (m[0][2] + m[2][0]) / r, (m[2][1] - m[1][2]) / r};
    } else if (m[1][1] > m[2][2]) {
        const double r = std::sqrt(1 + m[1][1] - m[0][0] - m[2][2]) * 2;
        q = {(m[0][1] + m[1][0]) / r, r / 4, (m[1][2] + m[2][1]) / r, (m[0][2] - m[2][0]) / r};
    } else {
        const double r = std::sqrt(1 + m[2][2] - m[0][0] - m[1][1]) * 2;
        q = {(m[0][2] + m[2][0]) / r, (m[1][2] + m[2][1]) / r, r / 4, (m[1][0] - m[0][1]) / r};
    }
    const double length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    for (double& c : q) c /= length;
    return q;
}

}  // namespace grottix
