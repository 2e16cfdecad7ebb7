// Lines and points, for the line primitives and the wireframe and point fill modes.

#include <algorithm>
#include <cmath>

#include "device/raster/PixelShader.h"
#include "device/raster/Rasterize.h"

namespace grottix::raster {

namespace {

bool inside(const TVertexState& vs, int x, int y) {
    return x >= vs.scissorLeft && x < vs.scissorRight && y >= vs.scissorTop && y < vs.scissorBottom;
}

void shadeAt(const TPixelShader& shader, TFrameBuffer& frame, int x, int y, float z, float q, const float* attrQ) {
    float dummyDepth = 1;
    float* depth = frame.HasDepth() ? frame.DepthRow(y) + x : &dummyDepth;
    shader.Shade(frame.ColorRow(y) + x, depth, z, q, attrQ);
}

int roundToInt(float v) { return int(std::floor(v + 0.5f)); }

}  // namespace

void RasterizeLine(const TRasterLine& line, const TDrawState& state, TFrameBuffer& frame, const TRowBand& band) {
    const TScreenVertex* a = &line.a;
    const TScreenVertex* b = &line.b;
    const bool xMajor = std::fabs(b->x - a->x) >= std::fabs(b->y - a->y);
    const float da = xMajor ? b->x - a->x : b->y - a->y;
    if (da == 0) return;
    if (da < 0) std::swap(a, b);
    const float start = xMajor ? a->x : a->y, end = xMajor ? b->x : b->y;
    const float length = end - start;
    const TPixelShader shader(state.pixel, state.pixel.bilinearMagnify);
    const TVertexState& vs = state.vertex;

    const int first = std::max(int(std::ceil(start)), xMajor ? vs.scissorLeft : vs.scissorTop);
    const int last = std::min(int(std::ceil(end)), xMajor ? vs.scissorRight : vs.scissorBottom);
    for (int major = first; major < last; ++major) {
        const float t = (float(major) - start) / length;
        const float minor = xMajor ? a->y + t * (b->y - a->y) : a->x + t * (b->x - a->x);
        const int x = xMajor ? major : roundToInt(minor);
        const int y = xMajor ? roundToInt(minor) : major;
        if (!inside(vs, x, y) || !band.Owns(y)) continue;
        float attrQ[kAttributeCount];
        for (int k = 0; k < kAttributeCount; ++k) attrQ[k] = a->attrQ[k] + t * (b->attrQ[k] - a->attrQ[k]);
        shadeAt(shader, frame, x, y, a->z + t * (b->z - a->z), a->q + t * (b->q - a->q), attrQ);
    }
}

void RasterizePoint(const TRasterPoint& point, const TDrawState& state, TFrameBuffer& frame,
                    const TRowBand& band) {
    const int x = roundToInt(point.v.x), y = roundToInt(point.v.y);
    if (!inside(state.vertex, x, y) || !band.Owns(y)) return;
    const TPixelShader shader(state.pixel, state.pixel.bilinearMagnify);
    shadeAt(shader, frame, x, y, point.v.z, point.v.q, point.v.attrQ);
}

}  // namespace grottix::raster
