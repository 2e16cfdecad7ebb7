#include "viewer/PlacementMarkers.h"

#include <cmath>
#include <numbers>

#include "device/D3DDevice.h"

namespace grottix {

namespace {

constexpr int kRingSegments = 48;

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
    const auto at = [&](double dx, double dy, double dz) { return vertex(x + dx, y + dy, z + dz, scale, argb); };
    if (shape == TMarkShape::Diamond) {
        // Eight faces between the top, the bottom and the four points round the middle.
        const TD3DLVertex round[] = {at(r, 0, 0), at(0, 0, r), at(-r, 0, 0), at(0, 0, -r)};
        for (int i = 0; i < 4; ++i)
            for (const double tip : {-r, r}) {
                out.push_back(at(0, tip, 0));
                out.push_back(round[i]);
                out.push_back(round[(i + 1) % 4]);
            }
        return;
    }
    // A box: two triangles per side, corners numbered by which coordinates are positive.
    const double h = r * 0.7;
    const auto corner = [&](int bits) { return at(bits & 1 ? h : -h, bits & 2 ? h : -h, bits & 4 ? h : -h); };
    static constexpr int sides[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
    for (const auto& side : sides)
        for (const int c : {side[0], side[1], side[2], side[0], side[2], side[3]}) out.push_back(corner(c));
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
    TDirectDrawSurface* texture = device.GetTexture(0);
    device.SetTexture(0, nullptr);
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
    device.SetTexture(0, texture);
}

}  // namespace grottix
