#pragma once
// The pixel stage of the CPU rasterizer: depth test, texture sampling with wrapping (point or
// bilinear), colour key, the stage-0 colour and alpha operations, specular add, alpha blending and
// the write to a 32- or 16-bit back buffer. Inline, because it runs once per pixel.

#include <algorithm>
#include <cstdint>

#include "device/raster/FrameBuffer.h"
#include "device/raster/RasterTypes.h"

namespace grottix::raster {

// Converts to int rounding down; values far outside any texture wrap land on a clamp instead of
// overflowing, and NaN lands on the lower clamp.
inline int FloorToInt(float v) {
    constexpr float kLimit = 1e9f;
    v = v > -kLimit ? (v < kLimit ? v : kLimit) : -kLimit;
    const int i = int(v);
    return i - (v < float(i) ? 1 : 0);
}

// Clamps a colour channel to 0..255; NaN gives 0.
inline float Saturate255(float v) { return v > 0 ? (v < 255.0f ? v : 255.0f) : 0.0f; }

struct TColor4 {
    float r, g, b, a;
};

class TPixelShader {
public:
    TPixelShader(const TPixelState& state, bool bilinear);

    // Shades one pixel from the interpolated depth, 1/w and attributes (each multiplied by 1/w).
    inline void Shade(uint32_t* color, float* depth, float z, float q, const float* attrQ) const;

private:
    inline bool depthPasses(float z, float stored) const;
    inline uint32_t fetch(int x, int y) const;
    // False when the texel is keyed out and the pixel must not be drawn.
    inline bool sample(float u, float v, TColor4& texel) const;
    inline bool samplePoint(float u, float v, TColor4& texel) const;
    inline bool sampleBilinear(float u, float v, TColor4& texel) const;
    TColor4 combine(const TColor4& texel, const TColor4& diffuse, const TColor4& specular) const;
    TColor4 blend(const TColor4& source, uint32_t destination) const;
    inline uint32_t pack(float r, float g, float b) const;

    const TPixelState& state_;
    const uint32_t* texels_ = nullptr;
    int width_ = 1, height_ = 1;
    uint32_t maskU_ = 0, maskV_ = 0;
    bool powerOfTwo_ = true;
    bool bilinear_ = false;
};

inline bool TPixelShader::depthPasses(float z, float stored) const {
    switch (state_.zFunc) {
        case D3DCMP_NEVER: return false;
        case D3DCMP_LESS: return z < stored;
        case D3DCMP_EQUAL: return z == stored;
        case D3DCMP_LESSEQUAL: return z <= stored;
        case D3DCMP_GREATER: return z > stored;
        case D3DCMP_NOTEQUAL: return z != stored;
        case D3DCMP_GREATEREQUAL: return z >= stored;
        default: return true;
    }
}

inline uint32_t TPixelShader::fetch(int x, int y) const {
    if (powerOfTwo_) return texels_[size_t(y & int(maskV_)) * size_t(width_) + size_t(x & int(maskU_))];
    x %= width_;
    y %= height_;
    if (x < 0) x += width_;
    if (y < 0) y += height_;
    return texels_[size_t(y) * size_t(width_) + size_t(x)];
}

inline bool TPixelShader::samplePoint(float u, float v, TColor4& texel) const {
    const uint32_t t = fetch(FloorToInt(u * float(width_)), FloorToInt(v * float(height_)));
    if (state_.colorKey && (t & 0xFFFFFF) == state_.keyColor) return false;
    texel = {float((t >> 16) & 0xFF), float((t >> 8) & 0xFF), float(t & 0xFF), float(t >> 24)};
    return true;
}

// Bilinear filtering; keyed texels take no part, and a pixel where they would weigh half or more
// is not drawn.
inline bool TPixelShader::sampleBilinear(float u, float v, TColor4& texel) const {
    const float fx = u * float(width_) - 0.5f, fy = v * float(height_) - 0.5f;
    const int x0 = FloorToInt(fx), y0 = FloorToInt(fy);
    const float ax = std::clamp(fx - float(x0), 0.0f, 1.0f), ay = std::clamp(fy - float(y0), 0.0f, 1.0f);
    const uint32_t t[4] = {fetch(x0, y0), fetch(x0 + 1, y0), fetch(x0, y0 + 1), fetch(x0 + 1, y0 + 1)};
    float w[4] = {(1 - ax) * (1 - ay), ax * (1 - ay), (1 - ax) * ay, ax * ay};
    float total = 1;
    if (state_.colorKey) {
        total = 0;
        for (int i = 0; i < 4; ++i) {
            if ((t[i] & 0xFFFFFF) == state_.keyColor) w[i] = 0;
            total += w[i];
        }
        if (total < 0.5f) return false;
    }
    TColor4 sum{0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        sum.r += w[i] * float((t[i] >> 16) & 0xFF);
        sum.g += w[i] * float((t[i] >> 8) & 0xFF);
        sum.b += w[i] * float(t[i] & 0xFF);
        sum.a += w[i] * float(t[i] >> 24);
    }
    const float scale = 1.0f / total;
    texel = {sum.r * scale, sum.g * scale, sum.b * scale, sum.a * scale};
    return true;
}

inline bool TPixelShader::sample(float u, float v, TColor4& texel) const {
    return bilinear_ ? sampleBilinear(u, v, texel) : samplePoint(u, v, texel);
}

// Channels in 0..255; each is rounded once, to eight bits or straight to five or six.
inline uint32_t TPixelShader::pack(float r, float g, float b) const {
    if (state_.quantize565) {
        const uint32_t r5 = uint32_t(r * (31.0f / 255.0f) + 0.5f), g6 = uint32_t(g * (63.0f / 255.0f) + 0.5f),
                       b5 = uint32_t(b * (31.0f / 255.0f) + 0.5f);
        return 0xFF000000u | (((r5 << 3) | (r5 >> 2)) << 16) | (((g6 << 2) | (g6 >> 4)) << 8) | ((b5 << 3) | (b5 >> 2));
    }
    return 0xFF000000u | (uint32_t(r + 0.5f) << 16) | (uint32_t(g + 0.5f) << 8) | uint32_t(b + 0.5f);
}

inline void TPixelShader::Shade(uint32_t* color, float* depth, float z, float q, const float* attrQ) const {
    z = z > 0 ? (z < 1.0f ? z : 1.0f) : 0.0f;
    if (state_.zTest && !depthPasses(z, *depth)) return;
    const float w = 1.0f / q;
    TColor4 texel{255, 255, 255, 255};
    if (texels_ && !sample(attrQ[kTexU] * w, attrQ[kTexV] * w, texel)) return;
    const TColor4 diffuse{attrQ[kDiffuseR] * w, attrQ[kDiffuseG] * w, attrQ[kDiffuseB] * w, attrQ[kDiffuseA] * w};
    TColor4 out;
    if (state_.standardModulate) {
        constexpr float kScale = 1.0f / 255.0f;
        out = {texel.r * diffuse.r * kScale, texel.g * diffuse.g * kScale, texel.b * diffuse.b * kScale, texel.a};
    } else {
        const TColor4 specular{attrQ[kSpecularR] * w, attrQ[kSpecularG] * w, attrQ[kSpecularB] * w, 255};
        out = combine(texel, diffuse, specular);
    }
    if (state_.specular) {
        out.r += attrQ[kSpecularR] * w;
        out.g += attrQ[kSpecularG] * w;
        out.b += attrQ[kSpecularB] * w;
    }
    out = {Saturate255(out.r), Saturate255(out.g), Saturate255(out.b), Saturate255(out.a)};
    if (state_.blend) out = blend(out, *color);
    *color = pack(out.r, out.g, out.b);
    if (state_.zWrite) *depth = z;
}

}  // namespace grottix::raster
