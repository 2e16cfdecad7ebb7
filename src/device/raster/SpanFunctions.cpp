#include "device/raster/SpanFunctions.h"

#include <array>

#include "device/raster/PixelShader.h"

namespace grottix::raster {

namespace {

// A plane's value at the span's first pixel.
struct TPlaneAt {
    float x, y;
    float operator()(const TPlane& p) const { return p.base + p.dx * x + p.dy * y; }
};

void generalSpan(const TPixelState& state, const TRasterTriangle& triangle, const TSpan& span) {
    const TPixelShader shader(state, triangle.bilinear);
    const TPlaneAt at{float(span.left) - triangle.x[0], float(span.row) - triangle.y[0]};
    float z = at(triangle.z), q = at(triangle.q), attrQ[kAttributeCount];
    for (int k = 0; k < kAttributeCount; ++k) attrQ[k] = at(triangle.attrQ[k]);
    float dummyDepth = 1;
    for (int i = 0; i < span.count; ++i) {
        shader.Shade(span.color + i, span.depth ? span.depth + i : &dummyDepth, z, q, attrQ);
        z += triangle.z.dx;
        q += triangle.q.dx;
        for (int k = 0; k < kAttributeCount; ++k) attrQ[k] += triangle.attrQ[k].dx;
    }
}

// Texture x diffuse (+ specular) into a 32-bit buffer, depth test less-or-equal when ZTest.
template <bool ZTest, bool Bilinear, bool Key, bool ConstantDiffuse, bool Specular>
void fastSpan(const TPixelState& state, const TRasterTriangle& triangle, const TSpan& span) {
    const TTexelImage& texture = *state.texture;
    const uint32_t* texels = texture.texels.data();
    const int width = texture.width, maskU = texture.width - 1, maskV = texture.height - 1;
    const float scaleU = float(texture.width), scaleV = float(texture.height);
    const uint32_t key = state.keyColor;
    const bool zWrite = state.zWrite;
    const float cr = triangle.constantDiffuse[0], cg = triangle.constantDiffuse[1], cb = triangle.constantDiffuse[2];
    constexpr float kInv255 = 1.0f / 255.0f;
    uint32_t* color = span.color;
    float* depth = span.depth;
    const TPlaneAt at{float(span.left) - triangle.x[0], float(span.row) - triangle.y[0]};
    const TPlane* a = triangle.attrQ;
    float z = at(triangle.z), q = at(triangle.q), uq = at(a[kTexU]), vq = at(a[kTexV]);
    float dr = 0, dg = 0, db = 0, sr = 0, sg = 0, sb = 0;
    if constexpr (!ConstantDiffuse) dr = at(a[kDiffuseR]), dg = at(a[kDiffuseG]), db = at(a[kDiffuseB]);
    if constexpr (Specular) sr = at(a[kSpecularR]), sg = at(a[kSpecularG]), sb = at(a[kSpecularB]);
    for (int i = 0; i < span.count; ++i, z += triangle.z.dx, q += triangle.q.dx, uq += a[kTexU].dx, vq += a[kTexV].dx) {
        if constexpr (!ConstantDiffuse) {
            if (i) dr += a[kDiffuseR].dx, dg += a[kDiffuseG].dx, db += a[kDiffuseB].dx;
        }
        if constexpr (Specular) {
            if (i) sr += a[kSpecularR].dx, sg += a[kSpecularG].dx, sb += a[kSpecularB].dx;
        }
        const float zc = z > 0 ? (z < 1.0f ? z : 1.0f) : 0.0f;
        if constexpr (ZTest) {
            if (!(zc <= depth[i])) continue;
        }
        const float w = 1.0f / q;
        float tr, tg, tb;
        if constexpr (Bilinear) {
            const float fx = uq * w * scaleU - 0.5f, fy = vq * w * scaleV - 0.5f;
            const int x0 = FloorToInt(fx), y0 = FloorToInt(fy);
            const float ax = std::clamp(fx - float(x0), 0.0f, 1.0f), ay = std::clamp(fy - float(y0), 0.0f, 1.0f);
            const int xa = x0 & maskU, xb = (x0 + 1) & maskU, ya = (y0 & maskV) * width, yb = ((y0 + 1) & maskV) * width;
            const uint32_t t[4] = {texels[ya + xa], texels[ya + xb], texels[yb + xa], texels[yb + xb]};
            float weight[4] = {(1 - ax) * (1 - ay), ax * (1 - ay), (1 - ax) * ay, ax * ay};
            float scale = 1;
            if constexpr (Key) {
                float total = 0;
                for (int k = 0; k < 4; ++k) {
                    if ((t[k] & 0xFFFFFF) == key) weight[k] = 0;
                    total += weight[k];
                }
                if (total < 0.5f) continue;
                scale = 1.0f / total;
            }
            tr = tg = tb = 0;
            for (int k = 0; k < 4; ++k) {
                tr += weight[k] * float((t[k] >> 16) & 0xFF);
                tg += weight[k] * float((t[k] >> 8) & 0xFF);
                tb += weight[k] * float(t[k] & 0xFF);
            }
            tr *= scale, tg *= scale, tb *= scale;
        } else {
            const uint32_t t = texels[(FloorToInt(vq * w * scaleV) & maskV) * width + (FloorToInt(uq * w * scaleU) & maskU)];
            if constexpr (Key) {
                if ((t & 0xFFFFFF) == key) continue;
            }
            tr = float((t >> 16) & 0xFF), tg = float((t >> 8) & 0xFF), tb = float(t & 0xFF);
        }
        float r, g, b;
        if constexpr (ConstantDiffuse) {
            r = tr * cr * kInv255, g = tg * cg * kInv255, b = tb * cb * kInv255;
        } else {
            r = tr * Saturate255(dr * w) * kInv255, g = tg * Saturate255(dg * w) * kInv255, b = tb * Saturate255(db * w) * kInv255;
        }
        if constexpr (Specular) {
            r = Saturate255(r + sr * w), g = Saturate255(g + sg * w), b = Saturate255(b + sb * w);
        }
        color[i] = 0xFF000000u | (uint32_t(r + 0.5f) << 16) | (uint32_t(g + 0.5f) << 8) | uint32_t(b + 0.5f);
        if constexpr (ZTest) {
            if (zWrite) depth[i] = zc;
        }
    }
}

template <int Index>
constexpr TSpanFunction fastSpanAt() {
    return fastSpan<(Index & 1) != 0, (Index & 2) != 0, (Index & 4) != 0, (Index & 8) != 0, (Index & 16) != 0>;
}

template <int... Indices>
constexpr std::array<TSpanFunction, sizeof...(Indices)> fastSpanTable(std::integer_sequence<int, Indices...>) {
    return {fastSpanAt<Indices>()...};
}

constexpr auto kFastSpans = fastSpanTable(std::make_integer_sequence<int, 32>());

bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

TSpanFunction SelectSpanFunction(const TPixelState& state, const TRasterTriangle& triangle) {
    const bool fast = state.texture && state.standardModulate && !state.blend && !state.quantize565 &&
                      powerOfTwo(state.texture->width) && powerOfTwo(state.texture->height) &&
                      (!state.zTest || state.zFunc == D3DCMP_LESSEQUAL);
    if (!fast) return generalSpan;
    const bool specular = state.specular && !triangle.noSpecular;
    const int index = (state.zTest ? 1 : 0) | (triangle.bilinear ? 2 : 0) | (state.colorKey ? 4 : 0) |
                      (triangle.hasConstantDiffuse ? 8 : 0) | (specular ? 16 : 0);
    return kFastSpans[size_t(index)];
}

}  // namespace grottix::raster
