#include "device/DeviceState.h"

#include <cmath>
#include <utility>

#include "device/DirectDrawSurface.h"

namespace grottix {

TD3DMatrix TD3DMatrix::Identity() { return Diagonal(1, 1, 1, 1); }

TD3DMatrix TD3DMatrix::Diagonal(float m11, float m22, float m33, float m44) {
    TD3DMatrix result;
    result.m[0][0] = m11;
    result.m[1][1] = m22;
    result.m[2][2] = m33;
    result.m[3][3] = m44;
    return result;
}

TD3DMatrix operator*(const TD3DMatrix& a, const TD3DMatrix& b) {
    TD3DMatrix result;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[row][k] * b.m[k][column];
            result.m[row][column] = sum;
        }
    return result;
}

std::optional<TD3DMatrix> Inverse(const TD3DMatrix& m) {
    // Gauss-Jordan elimination with partial pivoting on [m | I].
    double a[4][8] = {};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) a[row][column] = m.m[row][column];
        a[row][4 + row] = 1;
    }
    for (int column = 0; column < 4; ++column) {
        int pivot = column;
        for (int row = column + 1; row < 4; ++row)
            if (std::abs(a[row][column]) > std::abs(a[pivot][column])) pivot = row;
        if (a[pivot][column] == 0) return std::nullopt;
        std::swap(a[pivot], a[column]);
        const double scale = 1 / a[column][column];
        for (double& value : a[column]) value *= scale;
        for (int row = 0; row < 4; ++row) {
            if (row == column) continue;
            const double factor = a[row][column];
            for (int k = 0; k < 8; ++k) a[row][k] -= factor * a[column][k];
        }
    }
    TD3DMatrix result;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) {
            result.m[row][column] = float(a[row][4 + column]);
            if (!std::isfinite(result.m[row][column])) return std::nullopt;
        }
    return result;
}

TD3DDeviceState TD3DDeviceState::Defaults(bool hasZBuffer) {
    TD3DDeviceState s;
    auto& rs = s.renderStates;
    rs[D3DRENDERSTATE_ZENABLE] = hasZBuffer ? D3DZB_TRUE : D3DZB_FALSE;
    rs[D3DRENDERSTATE_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRENDERSTATE_SHADEMODE] = D3DSHADE_GOURAUD;
    rs[D3DRENDERSTATE_ZWRITEENABLE] = 1;
    rs[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
    rs[D3DRENDERSTATE_ZFUNC] = D3DCMP_LESSEQUAL;
    rs[D3DRENDERSTATE_TEXTUREFACTOR] = 0xFFFFFFFF;
    rs[D3DRENDERSTATE_LIGHTING] = 1;
    for (uint32_t stage = 0; stage < kMaxTextureStages; ++stage) {
        auto& ts = s.stageStates[stage];
        ts[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        ts[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        ts[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        ts[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        ts[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        ts[D3DTSS_ADDRESS] = ts[D3DTSS_ADDRESSU] = ts[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
        ts[D3DTSS_MAGFILTER] = D3DTFG_POINT;
        ts[D3DTSS_MINFILTER] = D3DTFN_POINT;
        ts[D3DTSS_MIPFILTER] = 1;
    }
    for (auto& transform : s.transforms) transform = TD3DMatrix::Identity();
    return s;
}

namespace {

bool viewportFits(const TD3DViewport7& v, int surfaceWidth, int surfaceHeight) {
    const bool depthRangeValid = std::isfinite(v.dvMinZ) && std::isfinite(v.dvMaxZ) && v.dvMinZ >= 0 &&
                                 v.dvMaxZ <= 1 && v.dvMinZ <= v.dvMaxZ;
    return depthRangeValid && v.dwWidth > 0 && v.dwHeight > 0 && uint64_t{v.dwX} + v.dwWidth <= uint64_t(surfaceWidth) &&
           uint64_t{v.dwY} + v.dwHeight <= uint64_t(surfaceHeight);
}

}  // namespace

TD3DStateDevice::TD3DStateDevice(bool hasZBuffer) : state_(TD3DDeviceState::Defaults(hasZBuffer)) {}

bool TD3DStateDevice::SetRenderState(TD3DRenderStateType state, uint32_t value) {
    if (state >= kRenderStateCount) return false;
    if (state_.renderStates[state] != value) {
        state_.renderStates[state] = value;
        StateChanged();
    }
    return true;
}

uint32_t TD3DStateDevice::GetRenderState(TD3DRenderStateType state) const {
    return state < kRenderStateCount ? state_.renderStates[state] : 0;
}

bool TD3DStateDevice::SetTextureStageState(uint32_t stage, TD3DTextureStageStateType type, uint32_t value) {
    if (stage >= kMaxTextureStages || type >= kTextureStageStateCount) return false;
    if (state_.stageStates[stage][type] != value) {
        state_.stageStates[stage][type] = value;
        StateChanged();
    }
    return true;
}

uint32_t TD3DStateDevice::GetTextureStageState(uint32_t stage, TD3DTextureStageStateType type) const {
    if (stage >= kMaxTextureStages || type >= kTextureStageStateCount) return 0;
    return state_.stageStates[stage][type];
}

bool TD3DStateDevice::SetTransform(TD3DTransformStateType type, const TD3DMatrix& matrix) {
    if (type < D3DTRANSFORMSTATE_WORLD || type > D3DTRANSFORMSTATE_PROJECTION) return false;
    state_.transforms[type - 1] = matrix;
    StateChanged();
    return true;
}

TD3DMatrix TD3DStateDevice::GetTransform(TD3DTransformStateType type) const {
    if (type < D3DTRANSFORMSTATE_WORLD || type > D3DTRANSFORMSTATE_PROJECTION) return TD3DMatrix::Identity();
    return state_.transforms[type - 1];
}

bool TD3DStateDevice::SetViewport(const TD3DViewport7& viewport) {
    state_.viewport = viewport;
    StateChanged();
    return true;
}

TD3DViewport7 TD3DStateDevice::GetViewport() const { return state_.viewport; }

bool TD3DStateDevice::SetMaterial(const TD3DMaterial7& material) {
    state_.material = material;
    StateChanged();
    return true;
}

TD3DMaterial7 TD3DStateDevice::GetMaterial() const { return state_.material; }

bool TD3DStateDevice::BeginScene() {
    if (inScene_) return false;
    inScene_ = true;
    return true;
}

bool TD3DStateDevice::EndScene() {
    if (!inScene_) return false;
    inScene_ = false;
    SceneEnded();
    return true;
}

bool TD3DStateDevice::SetTexture(uint32_t stage, TDirectDrawSurface* texture) {
    if (stage >= kMaxTextureStages) return false;
    std::shared_ptr<TDirectDrawSurface> held = texture ? texture->shared_from_this() : nullptr;
    if (state_.textures[stage] != held) {
        state_.textures[stage] = std::move(held);
        StateChanged();
    }
    return true;
}

bool TD3DStateDevice::TextureChanged() {
    const TDirectDrawSurface* texture = state_.textures[0].get();
    const uint64_t version = texture ? texture->Version() : 0;
    if (texture == seenTexture_ && version == seenTextureVersion_) return false;
    seenTexture_ = texture;
    seenTextureVersion_ = version;
    return true;
}

TDirectDrawSurface* TD3DStateDevice::GetTexture(uint32_t stage) const {
    return stage < kMaxTextureStages ? state_.textures[stage].get() : nullptr;
}

bool TD3DBackend::SetViewport(const TD3DViewport7& viewport) {
    if (!viewportFits(viewport, surface_.width, surface_.height)) return false;
    return TD3DStateDevice::SetViewport(viewport);
}

void TD3DBackend::surfaceChanged(const TSurfaceDesc& surface) {
    surface_ = surface;
    TD3DStateDevice::SetViewport(TD3DViewport7{0, 0, uint32_t(surface.width), uint32_t(surface.height), 0, 1});
}

}  // namespace grottix
