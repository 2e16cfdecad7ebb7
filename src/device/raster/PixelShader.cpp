#include "device/raster/PixelShader.h"

namespace grottix::raster {

namespace {

TColor4 argument(uint32_t arg, const TColor4& texel, const TColor4& diffuse, const TColor4& specular,
                 uint32_t factor) {
    switch (arg & D3DTA_SELECTMASK) {
        case D3DTA_TEXTURE: return texel;
        case D3DTA_TFACTOR:
            return {float(ArgbRed(factor)), float(ArgbGreen(factor)), float(ArgbBlue(factor)), float(ArgbAlpha(factor))};
        case D3DTA_SPECULAR: return specular;
        default: return diffuse;  // diffuse, and the current colour, which at stage 0 is the diffuse colour
    }
}

float operate(uint32_t op, float a1, float a2, float disabled) {
    switch (op) {
        case D3DTOP_DISABLE: return disabled;
        case D3DTOP_SELECTARG1: return a1;
        case D3DTOP_SELECTARG2: return a2;
        case D3DTOP_MODULATE2X: return a1 * a2 * (2.0f / 255.0f);
        case D3DTOP_MODULATE4X: return a1 * a2 * (4.0f / 255.0f);
        case D3DTOP_ADD: return a1 + a2;
        default: return a1 * a2 * (1.0f / 255.0f);
    }
}

// A blend factor for one channel; the back buffer has no alpha of its own, so its alpha is 1.
float blendFactor(uint32_t type, float source, float sourceAlpha, float destination) {
    constexpr float kScale = 1.0f / 255.0f;
    switch (type) {
        case D3DBLEND_ZERO: return 0;
        case D3DBLEND_SRCCOLOR: return source * kScale;
        case D3DBLEND_INVSRCCOLOR: return 1 - source * kScale;
        case D3DBLEND_SRCALPHA: return sourceAlpha * kScale;
        case D3DBLEND_INVSRCALPHA: return 1 - sourceAlpha * kScale;
        case D3DBLEND_DESTALPHA: return 1;
        case D3DBLEND_INVDESTALPHA: return 0;
        case D3DBLEND_DESTCOLOR: return destination * kScale;
        case D3DBLEND_INVDESTCOLOR: return 1 - destination * kScale;
        case D3DBLEND_SRCALPHASAT: return 0;  // min(source alpha, 1 - destination alpha)
        default: return 1;
    }
}

}  // namespace

TPixelShader::TPixelShader(const TPixelState& state, bool bilinear) : state_(state), bilinear_(bilinear) {
    if (const TTexelImage* image = state.texture.get()) {
        texels_ = image->texels.data();
        width_ = image->width;
        height_ = image->height;
        powerOfTwo_ = (width_ & (width_ - 1)) == 0 && (height_ & (height_ - 1)) == 0;
        maskU_ = uint32_t(width_ - 1);
        maskV_ = uint32_t(height_ - 1);
    }
}

TColor4 TPixelShader::combine(const TColor4& texel, const TColor4& diffuse, const TColor4& specular) const {
    const uint32_t f = state_.textureFactor;
    const TColor4 c1 = argument(state_.colorArg1, texel, diffuse, specular, f);
    const TColor4 c2 = argument(state_.colorArg2, texel, diffuse, specular, f);
    const TColor4 a1 = argument(state_.alphaArg1, texel, diffuse, specular, f);
    const TColor4 a2 = argument(state_.alphaArg2, texel, diffuse, specular, f);
    return {operate(state_.colorOp, c1.r, c2.r, diffuse.r), operate(state_.colorOp, c1.g, c2.g, diffuse.g),
            operate(state_.colorOp, c1.b, c2.b, diffuse.b), operate(state_.alphaOp, a1.a, a2.a, diffuse.a)};
}

TColor4 TPixelShader::blend(const TColor4& s, uint32_t destination) const {
    const float d[3] = {float((destination >> 16) & 0xFF), float((destination >> 8) & 0xFF), float(destination & 0xFF)};
    const float src[3] = {s.r, s.g, s.b};
    float out[3];
    for (int i = 0; i < 3; ++i)
        out[i] = Saturate255(src[i] * blendFactor(state_.srcBlend, src[i], s.a, d[i]) +
                             d[i] * blendFactor(state_.destBlend, src[i], s.a, d[i]));
    return {out[0], out[1], out[2], s.a};
}

}  // namespace grottix::raster
