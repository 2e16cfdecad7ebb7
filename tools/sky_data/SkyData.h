#pragma once
// The sky the viewer draws behind every level: 320 pre-lit vertices of a strip around an ellipsoid,
// and a 64 x 64 picture of a pale blue-grey sky in horizontal bands.

#include <vector>

#include "codecs/Bitmap.h"
#include "device/D3DTypes.h"

namespace grottix::sky {

constexpr int kRings = 11;      // polar angles 0, 18, ... 180 degrees from the top
constexpr int kMeridians = 16;  // 0, 24, ... 360 degrees
constexpr int kVertexCount = (kRings - 1) * kMeridians * 2;
static_assert(kVertexCount * sizeof(TD3DLVertex) == 10240);

std::vector<TD3DLVertex> SkyVertices();
TBitmap SkyPicture();

}  // namespace grottix::sky
