#pragma once
// The span kernel of the engine's common case (texture x diffuse, optional specular, depth test
// less-or-equal or none, no blending, 32-bit buffer, power-of-two texture), written once over a
// set of lanes (LanesScalar.h, LanesSse2.h, LanesAvx2.h) and compiled once per instruction set.
// Each pixel is computed in a lane on its own, by the same operations in the same order, so every
// instruction set draws the same pixels. Pixels that fail the depth test are dropped a lane group
// at a time before anything else is computed for them.
//
// Include after the lanes; everything here is local to the including file.

#include <algorithm>
#include <array>
#include <bit>
#include <utility>

#include "device/raster/RasterTypes.h"
#include "device/raster/SpanTables.h"

namespace grottix::raster {
namespace {

template <class L>
struct TSpanKernel {
    using F = typename L::F;
    using I = typename L::I;
    static constexpr int N = L::kLanes;

    // A plane's value at the span's first pixel and its step; At gives it at pixel offsets.
    struct TStep {
        F start, step;
        F At(F offset) const { return start + step * offset; }
    };

    // Rounds down with the clamp of the scalar pixel stage (NaN goes to the lower end).
    static I Floor(F v) {
        v = L::Min(L::Max(v, L::Set(-1e9f)), L::Set(1e9f));
        const I i = L::Trunc(v);
        return i + L::Less(v, L::ToFloat(i));  // a true mask is -1
    }
    static F Clamp(F v, float high) { return L::Min(L::Max(v, L::Set(0)), L::Set(high)); }
    static F Channel(I texel, int shift) {
        const I byte = L::SetI(0xFF);
        switch (shift) {
            case 16: return L::ToFloat(L::template ShiftRight<16>(texel) & byte);
            case 8: return L::ToFloat(L::template ShiftRight<8>(texel) & byte);
            default: return L::ToFloat(texel & byte);
        }
    }
    static I Pack(F r, F g, F b) {
        const F half = L::Set(0.5f);
        const I ri = L::Trunc(r + half), gi = L::Trunc(g + half), bi = L::Trunc(b + half);
        return L::SetI(int32_t(0xFF000000u)) | L::ShiftLeft(ri, 16) | L::ShiftLeft(gi, 8) | bi;
    }

    template <bool ZTest, bool Bilinear, bool Key, bool ConstantDiffuse, bool Specular>
    static void Span(const TPixelState& state, const TRasterTriangle& triangle, const TSpan& span) {
        const TTexelImage& texture = *state.texture;
        const uint32_t* texels = texture.texels.data();
        const int rowShift = std::countr_zero(unsigned(texture.width));
        const I maskU = L::SetI(texture.width - 1), maskV = L::SetI(texture.height - 1), one = L::SetI(1);
        const F scaleU = L::Set(float(texture.width)), scaleV = L::Set(float(texture.height));
        const I key = L::SetI(int32_t(state.keyColor)), rgb = L::SetI(0xFFFFFF);
        const F inv255 = L::Set(1.0f / 255.0f), unit = L::Set(1.0f);
        const F cr = L::Set(triangle.constantDiffuse[0]), cg = L::Set(triangle.constantDiffuse[1]),
                cb = L::Set(triangle.constantDiffuse[2]);
        const float x = float(span.left) - triangle.x[0], y = float(span.row) - triangle.y[0];
        const auto step = [&](const TPlane& p) { return TStep{L::Set(p.base + p.dx * x + p.dy * y), L::Set(p.dx)}; };
        const TPlane* a = triangle.attrQ;
        const TStep z = step(triangle.z), q = step(triangle.q), uq = step(a[kTexU]), vq = step(a[kTexV]);
        const TStep dr = step(a[kDiffuseR]), dg = step(a[kDiffuseG]), db = step(a[kDiffuseB]);
        const TStep sr = step(a[kSpecularR]), sg = step(a[kSpecularG]), sb = step(a[kSpecularB]);
        const bool zWrite = ZTest && state.zWrite;

        // The last lane group of a span may be short: it works on copies of its pixels.
        alignas(32) uint32_t tailColor[N] = {};
        alignas(32) float tailDepth[N] = {};
        for (int i = 0; i < span.count; i += N) {
            const int n = std::min(N, span.count - i);
            uint32_t* color = span.color + i;
            float* depth = ZTest ? span.depth + i : nullptr;
            if (n < N) {
                std::copy_n(color, n, tailColor);
                color = tailColor;
                if constexpr (ZTest) {
                    std::copy_n(depth, n, tailDepth);
                    depth = tailDepth;
                }
            }
            const F offset = L::Set(float(i)) + L::Offsets();
            const F zc = Clamp(z.At(offset), 1.0f);
            I live = L::SetI(-1);
            F stored{};
            if constexpr (ZTest) {
                stored = L::Load(depth);
                live = L::LessEqual(zc, stored);
                if (!L::Any(live)) continue;
            }
            const F w = unit / q.At(offset);
            F tr, tg, tb;
            if constexpr (Bilinear) {
                const F fx = uq.At(offset) * w * scaleU - L::Set(0.5f), fy = vq.At(offset) * w * scaleV - L::Set(0.5f);
                const I x0 = Floor(fx), y0 = Floor(fy);
                const F ax = Clamp(fx - L::ToFloat(x0), 1.0f), ay = Clamp(fy - L::ToFloat(y0), 1.0f);
                const I xa = x0 & maskU, xb = (x0 + one) & maskU;
                const I ya = L::ShiftLeft(y0 & maskV, rowShift), yb = L::ShiftLeft((y0 + one) & maskV, rowShift);
                I t0, t1, t2, t3;
                bool paired = false;
                if constexpr (L::kGathersPairs) {
                    if (!L::Any(L::Equal(xa, maskU))) {  // no lane wraps round to the left edge
                        L::GatherPair(texels, ya + xa, t0, t1);
                        L::GatherPair(texels, yb + xa, t2, t3);
                        paired = true;
                    }
                }
                if (!paired) {
                    t0 = L::Gather(texels, ya + xa), t1 = L::Gather(texels, ya + xb);
                    t2 = L::Gather(texels, yb + xa), t3 = L::Gather(texels, yb + xb);
                }
                F w0 = (unit - ax) * (unit - ay), w1 = ax * (unit - ay), w2 = (unit - ax) * ay, w3 = ax * ay;
                F scale = unit;
                if constexpr (Key) {
                    w0 = L::ZeroWhere(L::Equal(t0 & rgb, key), w0);
                    w1 = L::ZeroWhere(L::Equal(t1 & rgb, key), w1);
                    w2 = L::ZeroWhere(L::Equal(t2 & rgb, key), w2);
                    w3 = L::ZeroWhere(L::Equal(t3 & rgb, key), w3);
                    const F total = w0 + w1 + w2 + w3;
                    live = live & L::NotLess(total, L::Set(0.5f));  // keyed texels weigh half or more
                    if (!L::Any(live)) continue;
                    scale = unit / total;
                }
                const auto filter = [&](int shift) {
                    const F sum = w0 * Channel(t0, shift) + w1 * Channel(t1, shift) + w2 * Channel(t2, shift) +
                                  w3 * Channel(t3, shift);
                    return Key ? sum * scale : sum;
                };
                tr = filter(16), tg = filter(8), tb = filter(0);
            } else {
                const I tx = Floor(uq.At(offset) * w * scaleU) & maskU, ty = Floor(vq.At(offset) * w * scaleV) & maskV;
                const I t = L::Gather(texels, L::ShiftLeft(ty, rowShift) + tx);
                if constexpr (Key) {
                    live = L::AndNot(L::Equal(t & rgb, key), live);
                    if (!L::Any(live)) continue;
                }
                tr = Channel(t, 16), tg = Channel(t, 8), tb = Channel(t, 0);
            }
            F r, g, b;
            if constexpr (ConstantDiffuse) {
                r = tr * cr * inv255, g = tg * cg * inv255, b = tb * cb * inv255;
            } else {
                r = tr * Clamp(dr.At(offset) * w, 255.0f) * inv255, g = tg * Clamp(dg.At(offset) * w, 255.0f) * inv255,
                b = tb * Clamp(db.At(offset) * w, 255.0f) * inv255;
            }
            if constexpr (Specular) {
                r = Clamp(r + sr.At(offset) * w, 255.0f), g = Clamp(g + sg.At(offset) * w, 255.0f),
                b = Clamp(b + sb.At(offset) * w, 255.0f);
            }
            L::StoreI(color, L::SelectI(live, Pack(r, g, b), L::LoadI(color)));
            if (zWrite) L::Store(depth, L::Select(live, zc, stored));
            if (n < N) {
                std::copy_n(tailColor, n, span.color + i);
                if constexpr (ZTest) std::copy_n(tailDepth, n, span.depth + i);
            }
        }
    }

    template <int Index>
    static constexpr TSpanFunction At() {
        return Span<(Index & 1) != 0, (Index & 2) != 0, (Index & 4) != 0, (Index & 8) != 0, (Index & 16) != 0>;
    }
    template <int... Indices>
    static constexpr TSpanTable Table(std::integer_sequence<int, Indices...>) {
        return {At<Indices>()...};
    }
};

// The kernel for every combination of the five switches, indexed as SpanTableIndex says.
template <class L>
constexpr TSpanTable SpanTableOf() {
    return TSpanKernel<L>::Table(std::make_integer_sequence<int, kSpanTableSize>());
}

}  // namespace
}  // namespace grottix::raster
