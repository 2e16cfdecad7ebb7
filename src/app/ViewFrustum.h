#pragma once
// What a frame can show: the planes bounding the view of a device (its world, view and projection
// transforms as the last frame set them), to tell whether a bounding sphere reaches the screen.

#include <array>

#include "device/D3DTypes.h"
#include "engine/EngineTypes.h"

namespace grottix {

class TD3DDevice;

class TViewFrustum {
public:
    explicit TViewFrustum(const TD3DDevice& device);
    // Points p (row vectors, w = 1) reach the screen where p x clip lies in -w <= x, y <= w, z >= 0.
    explicit TViewFrustum(const TD3DMatrix& clip);

    // False only when the sphere lies wholly outside the view; a sphere behind a wall still counts.
    bool MayShow(TD3DVector center, float radius) const;

private:
    std::array<std::array<float, 4>, 5> planes_{};  // a, b, c, d with a x + b y + c z + d >= 0 inside
};

}  // namespace grottix
