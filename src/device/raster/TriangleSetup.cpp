// Triangle setup: sorts the corners, and turns depth, 1/w and every attribute into a plane over
// the screen, so that edge walking can evaluate them at any pixel.

#include <algorithm>
#include <cmath>

#include "device/raster/VertexProcessing.h"

namespace grottix::raster {

namespace {

bool above(const TScreenVertex* a, const TScreenVertex* b) { return a->y < b->y || (a->y == b->y && a->x < b->x); }

TPlane planeOf(float a0, float a1, float a2, float dx1, float dy1, float dx2, float dy2, float inverseArea) {
    const float d1 = a1 - a0, d2 = a2 - a0;
    return TPlane{a0, (d1 * dy2 - d2 * dy1) * inverseArea, (d2 * dx1 - d1 * dx2) * inverseArea};
}

// Without mip-maps the filter follows the texel-to-pixel ratio of the whole triangle.
bool choosesBilinear(const TPixelState& pixel, const TScreenVertex* v[3], float screenArea) {
    if (pixel.bilinearMagnify == pixel.bilinearMinify || !pixel.texture) return pixel.bilinearMagnify;
    float u[3], t[3];
    for (int i = 0; i < 3; ++i) {
        u[i] = v[i]->attrQ[kTexU] / v[i]->q;
        t[i] = v[i]->attrQ[kTexV] / v[i]->q;
    }
    const float texelArea = std::fabs((u[1] - u[0]) * (t[2] - t[0]) - (u[2] - u[0]) * (t[1] - t[0])) *
                            float(pixel.texture->width) * float(pixel.texture->height);
    return texelArea > std::fabs(screenArea) ? pixel.bilinearMinify : pixel.bilinearMagnify;
}

}  // namespace

bool SetupTriangle(const TScreenVertex& a, const TScreenVertex& b, const TScreenVertex& c, uint32_t stateIndex,
                   const TPixelState& pixel, const TCornerTraits& traits, TRasterTriangle& out) {
    const TScreenVertex* v[3] = {&a, &b, &c};
    if (above(v[1], v[0])) std::swap(v[0], v[1]);
    if (above(v[2], v[1])) std::swap(v[1], v[2]);
    if (above(v[1], v[0])) std::swap(v[0], v[1]);

    const float dx1 = v[1]->x - v[0]->x, dy1 = v[1]->y - v[0]->y;
    const float dx2 = v[2]->x - v[0]->x, dy2 = v[2]->y - v[0]->y;
    const float area = dx1 * dy2 - dx2 * dy1;
    if (area == 0 || !std::isfinite(area)) return false;
    const float inverseArea = 1.0f / area;

    for (int i = 0; i < 3; ++i) {
        out.x[i] = v[i]->x;
        out.y[i] = v[i]->y;
    }
    out.z = planeOf(v[0]->z, v[1]->z, v[2]->z, dx1, dy1, dx2, dy2, inverseArea);
    out.q = planeOf(v[0]->q, v[1]->q, v[2]->q, dx1, dy1, dx2, dy2, inverseArea);
    for (int k = 0; k < kAttributeCount; ++k)
        out.attrQ[k] = planeOf(v[0]->attrQ[k], v[1]->attrQ[k], v[2]->attrQ[k], dx1, dy1, dx2, dy2, inverseArea);
    out.state = stateIndex;
    out.longEdgeLeft = area > 0;
    out.bilinear = choosesBilinear(pixel, v, area);
    out.hasConstantDiffuse = traits.constantDiffuse;
    out.noSpecular = traits.noSpecular;
    for (int k = 0; k < 4; ++k) out.constantDiffuse[k] = traits.diffuse[k];
    return true;
}

}  // namespace grottix::raster
