#pragma once
// Scan conversion of queued primitives into the frame buffer, restricted to the rows of one band so
// that workers can share a frame.

#include "device/raster/FrameBuffer.h"
#include "device/raster/RasterTypes.h"

namespace grottix::raster {

// Fills the pixels whose centres lie inside the triangle under the top-left rule: a centre exactly
// on a left or top edge is inside, on a right or bottom edge outside. Two triangles sharing an edge
// therefore never both draw, nor both skip, a pixel on it.
void RasterizeTriangle(const TRasterTriangle& triangle, const TDrawState& state, TFrameBuffer& frame,
                       const TRowBand& band);

// One pixel per column (or row, for steep lines) whose centre the line crosses, end excluded.
void RasterizeLine(const TRasterLine& line, const TDrawState& state, TFrameBuffer& frame, const TRowBand& band);

// The pixel whose square holds the point.
void RasterizePoint(const TRasterPoint& point, const TDrawState& state, TFrameBuffer& frame,
                    const TRowBand& band);

}  // namespace grottix::raster
