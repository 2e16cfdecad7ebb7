#include "device/raster/DrawState.h"

#include <algorithm>

namespace grottix::raster {

namespace {

float unit(float value) { return value >= 0 ? std::min(value, 1.0f) : 0.0f; }  // NaN gives 0

TVertexState vertexStateOf(const TD3DDeviceState& state, const TSurfaceDesc& surface) {
    TVertexState v;
    v.transform = state.world() * state.view() * state.projection();
    v.lighting = state.renderState(D3DRENDERSTATE_LIGHTING) != 0;
    if (v.lighting) UnlitVertexColor(state, v.litColor);
    v.cullMode = state.renderState(D3DRENDERSTATE_CULLMODE);
    v.fillMode = state.renderState(D3DRENDERSTATE_FILLMODE);

    const TD3DViewport7& vp = state.viewport;
    v.scissorLeft = int(std::min<uint64_t>(vp.dwX, uint64_t(surface.width)));
    v.scissorTop = int(std::min<uint64_t>(vp.dwY, uint64_t(surface.height)));
    v.scissorRight = int(std::min<uint64_t>(uint64_t{vp.dwX} + vp.dwWidth, uint64_t(surface.width)));
    v.scissorBottom = int(std::min<uint64_t>(uint64_t{vp.dwY} + vp.dwHeight, uint64_t(surface.height)));
    v.halfWidth = float(vp.dwWidth) / 2;
    v.halfHeight = float(vp.dwHeight) / 2;
    v.viewX = float(vp.dwX) + v.halfWidth;
    v.viewY = float(vp.dwY) + v.halfHeight;
    const float minZ = unit(vp.dvMinZ), maxZ = unit(vp.dvMaxZ);
    v.minZ = minZ;
    v.depthScale = maxZ - minZ;
    return v;
}

bool isDiffuse(uint32_t arg) {
    const uint32_t select = arg & D3DTA_SELECTMASK;
    return select == D3DTA_DIFFUSE || select == D3DTA_CURRENT;
}

bool isStandardModulate(const TPixelState& p) {
    const bool color = p.colorOp == D3DTOP_MODULATE &&
                       ((p.colorArg1 == D3DTA_TEXTURE && isDiffuse(p.colorArg2)) ||
                        (p.colorArg2 == D3DTA_TEXTURE && isDiffuse(p.colorArg1)));
    const bool alpha = (p.alphaOp == D3DTOP_SELECTARG1 && p.alphaArg1 == D3DTA_TEXTURE) ||
                       (p.alphaOp == D3DTOP_SELECTARG2 && p.alphaArg2 == D3DTA_TEXTURE);
    return color && alpha;
}

TPixelState pixelStateOf(const TD3DDeviceState& state, const TSurfaceDesc& surface) {
    TPixelState p;
    p.zTest = surface.zBuffer && state.renderState(D3DRENDERSTATE_ZENABLE) != D3DZB_FALSE;
    p.zWrite = p.zTest && state.renderState(D3DRENDERSTATE_ZWRITEENABLE) != 0;
    p.zFunc = state.renderState(D3DRENDERSTATE_ZFUNC);

    if (const auto& surfaceOfStage0 = state.textures[0]) {
        p.texture = surfaceOfStage0->Image();
        if (const auto key = surfaceOfStage0->ColorKey(); key && state.renderState(D3DRENDERSTATE_COLORKEYENABLE)) {
            p.colorKey = true;
            p.keyColor = *key;
        }
    }
    p.bilinearMagnify = state.stage0(D3DTSS_MAGFILTER) >= D3DTFG_LINEAR;
    p.bilinearMinify = state.stage0(D3DTSS_MINFILTER) >= D3DTFN_LINEAR;

    p.colorOp = state.stage0(D3DTSS_COLOROP);
    p.colorArg1 = state.stage0(D3DTSS_COLORARG1);
    p.colorArg2 = state.stage0(D3DTSS_COLORARG2);
    p.alphaOp = state.stage0(D3DTSS_ALPHAOP);
    p.alphaArg1 = state.stage0(D3DTSS_ALPHAARG1);
    p.alphaArg2 = state.stage0(D3DTSS_ALPHAARG2);
    p.textureFactor = state.renderState(D3DRENDERSTATE_TEXTUREFACTOR);
    p.standardModulate = isStandardModulate(p);
    p.specular = state.renderState(D3DRENDERSTATE_SPECULARENABLE) != 0;

    p.blend = state.renderState(D3DRENDERSTATE_ALPHABLENDENABLE) != 0;
    p.srcBlend = state.renderState(D3DRENDERSTATE_SRCBLEND);
    p.destBlend = state.renderState(D3DRENDERSTATE_DESTBLEND);
    if (p.srcBlend == D3DBLEND_BOTHSRCALPHA) {
        p.srcBlend = D3DBLEND_SRCALPHA;
        p.destBlend = D3DBLEND_INVSRCALPHA;
    } else if (p.srcBlend == D3DBLEND_BOTHINVSRCALPHA) {
        p.srcBlend = D3DBLEND_INVSRCALPHA;
        p.destBlend = D3DBLEND_SRCALPHA;
    }
    p.quantize565 = surface.bitCount == 16;
    return p;
}

}  // namespace

void UnlitVertexColor(const TD3DDeviceState& state, float rgba[4]) {
    const uint32_t ambient = state.renderState(D3DRENDERSTATE_AMBIENT);
    const TD3DMaterial7& m = state.material;
    rgba[0] = 255 * unit(m.emissive.r + ArgbRed(ambient) / 255.0f * m.ambient.r);
    rgba[1] = 255 * unit(m.emissive.g + ArgbGreen(ambient) / 255.0f * m.ambient.g);
    rgba[2] = 255 * unit(m.emissive.b + ArgbBlue(ambient) / 255.0f * m.ambient.b);
    rgba[3] = 255 * unit(m.diffuse.a);
}

TDrawState BuildDrawState(const TD3DDeviceState& state, const TSurfaceDesc& surface) {
    return TDrawState{vertexStateOf(state, surface), pixelStateOf(state, surface)};
}

}  // namespace grottix::raster
