// Edge walking: for every row of the band between the top and bottom corner, the span between the
// left and right edge, drawn by the span function that suits the state.

#include <algorithm>
#include <cmath>

#include "device/raster/Rasterize.h"
#include "device/raster/SpanFunctions.h"

namespace grottix::raster {

namespace {

// An edge from an upper to a lower corner. The crossing is computed in double from the two corners
// only, so a triangle on either side of a shared edge finds the very same crossing.
struct TEdge {
    double x0, y0, slope;
    TEdge(float xa, float ya, float xb, float yb) : x0(xa), y0(ya), slope(yb > ya ? (double(xb) - xa) / (double(yb) - ya) : 0) {}
    double At(double y) const { return x0 + (y - y0) * slope; }
};

int ceilToInt(double v) { return int(std::ceil(std::clamp(v, -1e9, 1e9))); }

}  // namespace

void RasterizeTriangle(const TRasterTriangle& t, const TDrawState& state, TFrameBuffer& frame,
                       const TRowBand& band) {
    const TVertexState& vs = state.vertex;
    const int rowBegin = std::max({ceilToInt(t.y[0]), vs.scissorTop, band.begin});
    const int rowEnd = std::min({ceilToInt(t.y[2]), vs.scissorBottom, band.end});
    if (rowBegin >= rowEnd) return;

    const TEdge longEdge(t.x[0], t.y[0], t.x[2], t.y[2]);
    const TEdge upperEdge(t.x[0], t.y[0], t.x[1], t.y[1]);
    const TEdge lowerEdge(t.x[1], t.y[1], t.x[2], t.y[2]);
    const TSpanFunction drawSpan = SelectSpanFunction(state.pixel, t);
    for (int row = rowBegin; row < rowEnd; ++row) {
        const double y = row;
        const double xLong = longEdge.At(y);
        const double xShort = y < t.y[1] ? upperEdge.At(y) : lowerEdge.At(y);
        const int left = std::max(ceilToInt(t.longEdgeLeft ? xLong : xShort), vs.scissorLeft);
        const int right = std::min(ceilToInt(t.longEdgeLeft ? xShort : xLong), vs.scissorRight);
        if (left >= right) continue;
        drawSpan(state.pixel, t,
                 TSpan{row, left, right - left, frame.ColorRow(row) + left, frame.HasDepth() ? frame.DepthRow(row) + left : nullptr});
    }
}

}  // namespace grottix::raster
