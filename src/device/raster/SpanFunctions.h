#pragma once
// Span drawing: one row of a triangle between its edges. The common case of the engine (texture x
// diffuse, optional specular, depth test less-or-equal or none, no blending, 32-bit buffer,
// power-of-two texture) runs through loops specialised at compile time; everything else goes
// through the general pixel shader. Both give the same pixels.

#include <cstdint>

#include "device/raster/RasterTypes.h"

namespace grottix::raster {

// Depth, 1/w and the attributes (each times 1/w) at the span's first pixel, and their steps.
struct TSpanValues {
    float z, q;
    float attrQ[kAttributeCount];
};

struct TSpan {
    uint32_t* color;  // first pixel of the span
    float* depth;     // its depth, or none without a z-buffer
    int count;
};

using TSpanFunction = void (*)(const TPixelState& state, const TRasterTriangle& triangle, const TSpan& span,
                               TSpanValues start, const TSpanValues& step);

TSpanFunction SelectSpanFunction(const TPixelState& state, const TRasterTriangle& triangle);

}  // namespace grottix::raster
