#include "app/ViewFrustum.h"

#include <cmath>

#include "device/D3DDevice.h"

namespace grottix {

TViewFrustum::TViewFrustum(const TD3DDevice& device)
    : TViewFrustum(device.GetTransform(D3DTRANSFORMSTATE_WORLD) * device.GetTransform(D3DTRANSFORMSTATE_VIEW) *
                   device.GetTransform(D3DTRANSFORMSTATE_PROJECTION)) {}

TViewFrustum::TViewFrustum(const TD3DMatrix& clip) {
    // Each side of the clip volume is a sum of the matrix's columns: w + x >= 0, w - x >= 0, w + y,
    // w - y, and z >= 0.
    const auto column = [&](int c, int row) { return clip.m[size_t(row)][size_t(c)]; };
    for (int row = 0; row < 4; ++row) {
        const float x = column(0, row), y = column(1, row), z = column(2, row), w = column(3, row);
        planes_[0][size_t(row)] = w + x;
        planes_[1][size_t(row)] = w - x;
        planes_[2][size_t(row)] = w + y;
        planes_[3][size_t(row)] = w - y;
        planes_[4][size_t(row)] = z;
    }
}

bool TViewFrustum::MayShow(TD3DVector center, float radius) const {
    for (const auto& plane : planes_) {
        const float length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        if (!(length > 0)) continue;  // a degenerate side bounds nothing
        const float distance = (plane[0] * center.x + plane[1] * center.y + plane[2] * center.z + plane[3]) / length;
        if (distance < -radius) return false;
    }
    return true;
}

}  // namespace grottix
