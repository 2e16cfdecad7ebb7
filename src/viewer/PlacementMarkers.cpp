#include "viewer/PlacementMarkers.h"

#include <cmath>
#include <numbers>

#include "device/D3DDevice.h"
#include "device/TextureScope.h"

namespace grottix {

namespace {

constexpr int kRingSegments = 48;

// The colour darkened to a fraction, so that the sides of a solid mark tell apart.
uint32_t shaded(uint32_t argb, double fraction) {
    const auto channel = [&](int shift) { return uint32_t(((argb >> shift) & 0xFF) * fraction) << shift; };
    return (argb & 0xFF000000) | channel(16) | channel(8) | channel(0);
}

TD3DLVertex vertex(double x, double y, double z, float scale, uint32_t argb) {
    TD3DLVertex v;
    v.x = float(x / scale);
    v.y = float(-y / scale);
    v.z = float(z / scale);
    v.color = argb;
    return v;
}

}  // namespace

void AddMark(TPlacementMarks& marks, double x, double y, double z, float scale, uint32_t argb, TMarkShape shape) {
    const double r = kMarkRadius;
    auto& out = marks.triangles;
    const auto at = [&](double dx, double dy, double dz, double shade) {
        return vertex(x + dx, y + dy, z + dz, scale, shaded(argb, shade));
    };
    if (shape == TMarkShape::Diamond) {
        // Eight faces between the top (y -r: up), the bottom and the four points round the middle;
        // the upper half lit, the lower darker, every other face a little darker again.
        for (int i = 0; i < 4; ++i)
            for (const double tip : {-r, r}) {
                const double shade = (tip < 0 ? 1.0 : 0.6) * (i % 2 ? 0.85 : 1.0);
                const auto round = [&](int k) { return at(k % 2 ? 0 : k == 0 ? r : -r, 0, k % 2 ? (k == 1 ? r : -r) : 0, shade); };
                out.push_back(at(0, tip, 0, shade));
                out.push_back(round(i));
                out.push_back(round((i + 1) % 4));
            }
        return;
    }
    // A box: two triangles per side, corners numbered by which coordinates are positive; the top
    // lit, the sides along x and z shaded apart, the bottom darkest.
    const double h = r * 0.7;
    struct TSide {
        int corners[4];
        double shade;
    };
    static constexpr TSide sides[6] = {{{0, 1, 3, 2}, 0.8}, {{4, 5, 7, 6}, 0.8}, {{0, 1, 5, 4}, 1.0},
                                       {{2, 3, 7, 6}, 0.5}, {{0, 2, 6, 4}, 0.65}, {{1, 3, 7, 5}, 0.65}};
    for (const TSide& side : sides) {
        const auto corner = [&](int bits) { return at(bits & 1 ? h : -h, bits & 2 ? h : -h, bits & 4 ? h : -h, side.shade); };
        const int* c = side.corners;
        for (const int k : {c[0], c[1], c[2], c[0], c[2], c[3]}) out.push_back(corner(k));
    }
}

void AddReach(TPlacementMarks& marks, double x, double y, double z, double radius, float scale, uint32_t argb) {
    constexpr double step = 2 * std::numbers::pi / kRingSegments;
    for (int plane = 0; plane < 3; ++plane)
        for (int i = 0; i < kRingSegments; ++i)
            for (const int k : {i, i + 1}) {
                const double a = radius * std::cos(k * step), b = radius * std::sin(k * step);
                const double dx = plane == 2 ? 0 : a, dy = plane == 0 ? b : plane == 2 ? a : 0, dz = plane == 0 ? 0 : b;
                marks.lines.push_back(vertex(x + dx, y + dy, z + dz, scale, argb));
            }
}

void AddRay(TPlacementMarks& marks, double x, double y, double z, const std::array<double, 3>& direction, double length,
            float scale, uint32_t argb) {
    const double size = std::hypot(direction[0], direction[1], direction[2]);
    if (!std::isfinite(size) || size <= 0) return;
    const double k = length / size;
    marks.lines.push_back(vertex(x, y, z, scale, argb));
    marks.lines.push_back(vertex(x + direction[0] * k, y + direction[1] * k, z + direction[2] * k, scale, argb));
}

void DrawPlacementMarks(TD3DDevice& device, const TPlacementMarks& marks) {
    if (marks.Empty()) return;
    const uint32_t depth = device.GetRenderState(D3DRENDERSTATE_ZENABLE);
    const uint32_t blend = device.GetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE);
    const uint32_t cull = device.GetRenderState(D3DRENDERSTATE_CULLMODE);
    TTextureScope untextured(device, nullptr);
    device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
    device.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    if (!marks.triangles.empty()) {
        device.SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_TRUE);
        device.DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, marks.triangles.data(), uint32_t(marks.triangles.size()), 0);
    }
    if (!marks.lines.empty()) {
        device.SetRenderState(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
        device.DrawPrimitive(D3DPT_LINELIST, D3DFVF_LVERTEX, marks.lines.data(), uint32_t(marks.lines.size()), 0);
    }
    device.SetRenderState(D3DRENDERSTATE_CULLMODE, cull);
    device.SetRenderState(D3DRENDERSTATE_ZENABLE, depth);
    device.SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, blend);
}

}  // namespace grottix
