#pragma once
// Linear filtering reads the four texels nearest a coordinate: on a texel's edge, where the level's
// coordinates lie, half of what it reads comes from beyond the face's texture (a neighbouring
// picture on the same tile) and shows as a seam along the face's edge. Moving each corner half a
// texel toward the middle of its face's texture, in u and in v, keeps the filter on the face's own
// texels; nearest sampling still picks the same texels as before.

#include <array>
#include <cstddef>

#include "device/D3DTypes.h"

namespace grottix {

constexpr double kTileTexel = 1.0 / 256;  // a tile is 256 texels square

// One axis of a face's corners: each value moves half a texel toward their middle; a value level
// with the middle stays, and where every corner has the same value they move to that texel's middle.
void InsetAxis(float* values, size_t count);

template <size_t N>
void InsetTexels(std::array<TD3DLVertex, N>& corners) {
    std::array<float, N> u, v;
    for (size_t i = 0; i < N; ++i) u[i] = corners[i].tu, v[i] = corners[i].tv;
    InsetAxis(u.data(), N);
    InsetAxis(v.data(), N);
    for (size_t i = 0; i < N; ++i) corners[i].tu = u[i], corners[i].tv = v[i];
}

// A picture from start across size (texture coordinates) as its two edges, half a texel inside (a
// picture a texel wide or less at that texel's middle).
std::array<float, 2> InsetSpan(float start, float size);

}  // namespace grottix
