#include "device/raster/VertexProcessing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace grottix::raster {

namespace {

// Clip-space guard band: primitives are clipped at GuardBand x w, the rest is left to the scissor.
constexpr float kGuardBand = 4.0f;
constexpr float kMinimumW = 1e-6f;
constexpr int kPlaneCount = 7;
constexpr int kMaxPolygon = 3 + kPlaneCount;

float planeDistance(const TClipVertex& v, int plane) {
    switch (plane) {
        case 0: return v.x + kGuardBand * v.w;
        case 1: return kGuardBand * v.w - v.x;
        case 2: return v.y + kGuardBand * v.w;
        case 3: return kGuardBand * v.w - v.y;
        case 4: return v.z;
        case 5: return v.w - v.z;
        default: return v.w - kMinimumW;
    }
}

unsigned outcode(const TClipVertex& v) {
    unsigned code = 0;
    for (int plane = 0; plane < kPlaneCount; ++plane)
        if (!(planeDistance(v, plane) >= 0)) code |= 1u << plane;
    return code;
}

bool finite(const TClipVertex& v) { return std::isfinite(v.w); }

// The point where the edge from an inside to an outside vertex crosses a plane. Always measured
// from the inside vertex, so two triangles sharing the edge get the very same point.
TClipVertex intersect(const TClipVertex& inside, const TClipVertex& outside, float dIn, float dOut) {
    const float t = dIn / (dIn - dOut);
    TClipVertex r;
    r.x = inside.x + t * (outside.x - inside.x);
    r.y = inside.y + t * (outside.y - inside.y);
    r.z = inside.z + t * (outside.z - inside.z);
    r.w = inside.w + t * (outside.w - inside.w);
    for (int i = 0; i < kAttributeCount; ++i) r.attr[i] = inside.attr[i] + t * (outside.attr[i] - inside.attr[i]);
    return r;
}

// Sutherland-Hodgman against one plane; returns the new vertex count.
int clipAgainst(const TClipVertex* in, int count, int plane, TClipVertex* out) {
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const TClipVertex& p = in[i];
        const TClipVertex& q = in[(i + 1) % count];
        const float dp = planeDistance(p, plane), dq = planeDistance(q, plane);
        const bool pIn = dp >= 0, qIn = dq >= 0;
        if (pIn) out[n++] = p;
        if (pIn && !qIn) out[n++] = intersect(p, q, dp, dq);
        if (!pIn && qIn) out[n++] = intersect(q, p, dq, dp);
    }
    return n;
}

float snap(float v) { return std::floor(v * 256.0f + 0.5f) / 256.0f; }

float twiceArea(const TScreenVertex* v, int count) {
    float area = 0;
    for (int i = 1; i + 1 < count; ++i)
        area += (v[i].x - v[0].x) * (v[i + 1].y - v[0].y) - (v[i + 1].x - v[0].x) * (v[i].y - v[0].y);
    return area;
}

// Culling as seen on screen (y down): counter-clockwise triangles have a negative area.
bool culled(uint32_t cullMode, float area) {
    if (cullMode == D3DCULL_CCW) return area < 0;
    if (cullMode == D3DCULL_CW) return area > 0;
    return false;
}

}  // namespace

uint32_t PrimitiveCount(TD3DPrimitiveType type, uint32_t n) {
    switch (type) {
        case D3DPT_POINTLIST: return n;
        case D3DPT_LINELIST: return n / 2;
        case D3DPT_LINESTRIP: return n >= 2 ? n - 1 : 0;
        case D3DPT_TRIANGLELIST: return n / 3;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN: return n >= 3 ? n - 2 : 0;
        default: return 0;
    }
}

void PrimitiveVertexRange(TD3DPrimitiveType type, uint32_t first, uint32_t last, uint32_t* firstVertex,
                          uint32_t* endVertex) {
    switch (type) {
        case D3DPT_POINTLIST: *firstVertex = first; *endVertex = last; return;
        case D3DPT_LINELIST: *firstVertex = 2 * first; *endVertex = 2 * last; return;
        case D3DPT_LINESTRIP: *firstVertex = first; *endVertex = last + 1; return;
        case D3DPT_TRIANGLELIST: *firstVertex = 3 * first; *endVertex = 3 * last; return;
        case D3DPT_TRIANGLESTRIP: *firstVertex = first; *endVertex = last + 2; return;
        case D3DPT_TRIANGLEFAN: *firstVertex = 0; *endVertex = last + 2; return;
        default: *firstVertex = *endVertex = 0; return;
    }
}

void TransformVertices(const TVertexState& state, const TD3DLVertex* in, size_t count, TClipVertex* out) {
    const auto& m = state.transform.m;
    for (size_t i = 0; i < count; ++i) {
        const TD3DLVertex& v = in[i];
        TClipVertex& c = out[i];
        c.x = v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0] + m[3][0];
        c.y = v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1] + m[3][1];
        c.z = v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2] + m[3][2];
        c.w = v.x * m[0][3] + v.y * m[1][3] + v.z * m[2][3] + m[3][3];
        if (!(std::isfinite(c.x) && std::isfinite(c.y) && std::isfinite(c.z) && std::isfinite(c.w)))
            c.w = std::numeric_limits<float>::quiet_NaN();
        if (state.lighting) {
            for (int k = 0; k < 4; ++k) c.attr[kDiffuseR + k] = state.litColor[k];
            c.attr[kSpecularR] = c.attr[kSpecularG] = c.attr[kSpecularB] = 0;
        } else {
            c.attr[kDiffuseR] = ArgbRed(v.color);
            c.attr[kDiffuseG] = ArgbGreen(v.color);
            c.attr[kDiffuseB] = ArgbBlue(v.color);
            c.attr[kDiffuseA] = ArgbAlpha(v.color);
            c.attr[kSpecularR] = ArgbRed(v.specular);
            c.attr[kSpecularG] = ArgbGreen(v.specular);
            c.attr[kSpecularB] = ArgbBlue(v.specular);
        }
        c.attr[kTexU] = v.tu;
        c.attr[kTexV] = v.tv;
    }
}

void TPrimitiveAssembler::Assemble(TD3DPrimitiveType type, const TClipVertex* v, uint32_t base, uint32_t first,
                                   uint32_t last) {
    for (uint32_t p = first; p < last; ++p) {
        switch (type) {
            case D3DPT_POINTLIST: Point(v[p - base]); break;
            case D3DPT_LINELIST: Line(v[2 * p - base], v[2 * p + 1 - base]); break;
            case D3DPT_LINESTRIP: Line(v[p - base], v[p + 1 - base]); break;
            case D3DPT_TRIANGLELIST: Triangle(v[3 * p - base], v[3 * p + 1 - base], v[3 * p + 2 - base]); break;
            case D3DPT_TRIANGLESTRIP:
                // Every other triangle of a strip is turned round so that all keep one winding.
                if (p % 2 == 0) Triangle(v[p - base], v[p + 1 - base], v[p + 2 - base]);
                else Triangle(v[p + 1 - base], v[p - base], v[p + 2 - base]);
                break;
            case D3DPT_TRIANGLEFAN: Triangle(v[0 - base], v[p + 1 - base], v[p + 2 - base]); break;
            default: return;
        }
    }
}

TScreenVertex TPrimitiveAssembler::project(const TClipVertex& c) const {
    TScreenVertex s;
    s.q = 1.0f / c.w;
    s.x = snap(state_.viewX + c.x * s.q * state_.halfWidth);
    s.y = snap(state_.viewY - c.y * s.q * state_.halfHeight);
    s.z = state_.minZ + c.z * s.q * state_.depthScale;
    for (int i = 0; i < kAttributeCount; ++i) s.attrQ[i] = c.attr[i] * s.q;
    return s;
}

void TPrimitiveAssembler::Triangle(const TClipVertex& a, const TClipVertex& b, const TClipVertex& c) {
    if (!finite(a) || !finite(b) || !finite(c)) return;
    const unsigned ca = outcode(a), cb = outcode(b), cc = outcode(c);
    if (ca & cb & cc) return;
    if (!(ca | cb | cc)) {
        const TClipVertex triangle[3] = {a, b, c};
        emitPolygon(triangle, 3);
        return;
    }
    TClipVertex polygon[2][kMaxPolygon];
    polygon[0][0] = a;
    polygon[0][1] = b;
    polygon[0][2] = c;
    int count = 3, current = 0;
    for (int plane = 0; plane < kPlaneCount && count >= 3; ++plane) {
        if (!((ca | cb | cc) & (1u << plane))) continue;
        count = clipAgainst(polygon[current], count, plane, polygon[1 - current]);
        current = 1 - current;
    }
    if (count >= 3) emitPolygon(polygon[current], count);
}

TCornerTraits CornerTraits(const TClipVertex* polygon, int count) {
    TCornerTraits traits;
    traits.constantDiffuse = traits.noSpecular = true;
    for (int i = 0; i < count; ++i) {
        for (int k = kDiffuseR; k <= kDiffuseA; ++k) traits.constantDiffuse &= polygon[i].attr[k] == polygon[0].attr[k];
        for (int k = kSpecularR; k <= kSpecularB; ++k) traits.noSpecular &= polygon[i].attr[k] == 0;
    }
    for (int k = 0; k < 4; ++k) traits.diffuse[k] = uint8_t(std::clamp(polygon[0].attr[kDiffuseR + k], 0.0f, 255.0f));
    traits.constantDiffuse &= traits.diffuse[0] == polygon[0].attr[kDiffuseR] && traits.diffuse[1] == polygon[0].attr[kDiffuseG] &&
                              traits.diffuse[2] == polygon[0].attr[kDiffuseB] && traits.diffuse[3] == polygon[0].attr[kDiffuseA];
    return traits;
}

void TPrimitiveAssembler::emitPolygon(const TClipVertex* polygon, int count) {
    TScreenVertex screen[kMaxPolygon];
    for (int i = 0; i < count; ++i) screen[i] = project(polygon[i]);
    const float area = twiceArea(screen, count);
    if (area == 0 || culled(state_.cullMode, area)) return;
    switch (state_.fillMode) {
        case D3DFILL_POINT:
            for (int i = 0; i < count; ++i) {
                queue_.items.push_back({TItemKind::Point, uint32_t(queue_.points.size())});
                queue_.points.push_back({screen[i], stateIndex_});
            }
            return;
        case D3DFILL_WIREFRAME:
            for (int i = 0; i < count; ++i) {
                queue_.items.push_back({TItemKind::Line, uint32_t(queue_.lines.size())});
                queue_.lines.push_back({screen[i], screen[(i + 1) % count], stateIndex_});
            }
            return;
        default: break;
    }
    const TCornerTraits traits = CornerTraits(polygon, count);
    for (int i = 1; i + 1 < count; ++i) {
        TRasterTriangle triangle;
        if (!SetupTriangle(screen[0], screen[i], screen[i + 1], stateIndex_, pixel_, traits, triangle)) continue;
        queue_.items.push_back({TItemKind::Triangle, uint32_t(queue_.triangles.size())});
        queue_.triangles.push_back(triangle);
    }
}

void TPrimitiveAssembler::Line(const TClipVertex& a, const TClipVertex& b) {
    if (!finite(a) || !finite(b)) return;
    const unsigned ca = outcode(a), cb = outcode(b);
    if (ca & cb) return;
    TClipVertex p = a, q = b;
    for (int plane = 0; plane < kPlaneCount; ++plane) {
        const float dp = planeDistance(p, plane), dq = planeDistance(q, plane);
        if (dp >= 0 && dq >= 0) continue;
        if (!(dp >= 0) && !(dq >= 0)) return;
        if (dp >= 0) q = intersect(p, q, dp, dq);
        else p = intersect(q, p, dq, dp);
    }
    queue_.items.push_back({TItemKind::Line, uint32_t(queue_.lines.size())});
    queue_.lines.push_back({project(p), project(q), stateIndex_});
}

void TPrimitiveAssembler::Point(const TClipVertex& v) {
    if (!finite(v) || outcode(v)) return;
    queue_.items.push_back({TItemKind::Point, uint32_t(queue_.points.size())});
    queue_.points.push_back({project(v), stateIndex_});
}

}  // namespace grottix::raster
