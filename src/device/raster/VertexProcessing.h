#pragma once
// Vertex processing of the CPU rasterizer: transform to clip space, primitive assembly, clipping
// (near and far planes, a guard band around the viewport and a small positive w), perspective
// divide, viewport mapping, culling and fill mode. The result goes into a raster queue.

#include <cstddef>

#include "device/raster/RasterTypes.h"

namespace grottix::raster {

// How many primitives count vertices of that type make (0 for unknown types).
uint32_t PrimitiveCount(TD3DPrimitiveType type, uint32_t vertexCount);
// The vertices primitives [first, last) use: [*firstVertex, *endVertex).
void PrimitiveVertexRange(TD3DPrimitiveType type, uint32_t first, uint32_t last, uint32_t* firstVertex,
                          uint32_t* endVertex);

// Clip-space positions and attributes of the vertices. A vertex whose position is not finite gets
// w = NaN, and every primitive using it is dropped.
void TransformVertices(const TVertexState& state, const TD3DLVertex* in, size_t count, TClipVertex* out);

class TPrimitiveAssembler {
public:
    TPrimitiveAssembler(const TDrawState& state, uint32_t stateIndex, TRasterQueue& queue)
        : state_(state.vertex), pixel_(state.pixel), stateIndex_(stateIndex), queue_(queue) {}

    // Emits primitives [first, last) of a draw whose vertices start at vertices[0] = vertex firstVertex.
    void Assemble(TD3DPrimitiveType type, const TClipVertex* vertices, uint32_t firstVertex, uint32_t first,
                  uint32_t last);

    void Triangle(const TClipVertex& a, const TClipVertex& b, const TClipVertex& c);
    void Line(const TClipVertex& a, const TClipVertex& b);
    void Point(const TClipVertex& v);

private:
    void emitPolygon(const TClipVertex* polygon, int count);
    TScreenVertex project(const TClipVertex& v) const;

    const TVertexState& state_;
    const TPixelState& pixel_;
    uint32_t stateIndex_;
    TRasterQueue& queue_;
};

// What the corners of a polygon share, found before the perspective divide.
struct TCornerTraits {
    bool constantDiffuse = false;
    bool noSpecular = false;
    uint8_t diffuse[4] = {};
};
TCornerTraits CornerTraits(const TClipVertex* polygon, int count);

// Builds the gradient planes of a screen triangle; false for a triangle that covers no area.
bool SetupTriangle(const TScreenVertex& a, const TScreenVertex& b, const TScreenVertex& c, uint32_t stateIndex,
                   const TPixelState& pixel, const TCornerTraits& traits, TRasterTriangle& out);

}  // namespace grottix::raster
