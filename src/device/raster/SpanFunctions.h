#pragma once
// Span drawing: one row of a triangle between its edges. The common case of the engine (texture x
// diffuse, optional specular, depth test less-or-equal or none, no blending, 32-bit buffer,
// power-of-two texture) runs through a kernel specialised at compile time and vectorised for the
// processor (SpanKernel.h); everything else goes through the general pixel shader. Both give the
// same pixels.

#include <cstdint>

#include "device/raster/RasterTypes.h"

namespace grottix::raster {

// Pixels [left, left + count) of one row; a span function evaluates the triangle's planes it needs
// at the first pixel and steps them along.
struct TSpan {
    int row, left, count;
    uint32_t* color;  // the first pixel
    float* depth;     // its depth, or none without a z-buffer
};

using TSpanFunction = void (*)(const TPixelState& state, const TRasterTriangle& triangle, const TSpan& span);

// Instruction sets the span kernel is built for, each a superset of the one before.
enum class TInstructionSet { Scalar, Sse2, Avx2 };

// The best set this processor and this build have, decided once. The environment variable
// GROTTIX_RASTER_SIMD ("scalar", "sse2") caps it, to compare the sets.
TInstructionSet BestInstructionSet();
inline bool Supports(TInstructionSet set) { return set <= BestInstructionSet(); }

// The span function for a triangle; set must be supported.
TSpanFunction SelectSpanFunction(const TPixelState& state, const TRasterTriangle& triangle,
                                 TInstructionSet set = BestInstructionSet());

}  // namespace grottix::raster
