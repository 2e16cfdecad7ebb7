#include "viewer/SceneBackdrop.h"

#include <array>
#include <utility>

#include "device/D3DDevice.h"
#include "device/TextureScope.h"
#include "engine/D3DObject.h"

namespace grottix {

namespace {

// Sets render states for the life of the object and puts the old values back after.
class TStateScope {
public:
    explicit TStateScope(TD3DDevice& device) : device_(device) {}
    ~TStateScope() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) device_.SetRenderState(it->first, it->second);
    }
    TStateScope(const TStateScope&) = delete;
    TStateScope& operator=(const TStateScope&) = delete;

    void set(TD3DRenderStateType state, uint32_t value) {
        saved_.emplace_back(state, device_.GetRenderState(state));
        device_.SetRenderState(state, value);
    }

private:
    TD3DDevice& device_;
    std::vector<std::pair<TD3DRenderStateType, uint32_t>> saved_;
};

}  // namespace

void DrawAroundEye(TD3DDevice& device, const std::vector<TD3DObject*>& objects) {
    if (objects.empty()) return;
    const TD3DMatrix world = device.GetTransform(D3DTRANSFORMSTATE_WORLD);
    device.SetTransform(D3DTRANSFORMSTATE_WORLD, TD3DMatrix::Identity());
    {
        TStateScope states(device);
        states.set(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
        states.set(D3DRENDERSTATE_ZWRITEENABLE, 0);
        for (TD3DObject* object : objects) object->DoRender();
    }
    device.SetTransform(D3DTRANSFORMSTATE_WORLD, world);
}

void DrawStripAroundEye(TD3DDevice& device, TDirectDrawSurface* texture, const std::vector<TD3DLVertex>& strip, float lower) {
    if (strip.empty()) return;
    const TD3DMatrix world = device.GetTransform(D3DTRANSFORMSTATE_WORLD);
    TD3DMatrix lowered = TD3DMatrix::Identity();
    lowered.m[3][1] = -lower;
    device.SetTransform(D3DTRANSFORMSTATE_WORLD, lowered);
    {
        TTextureScope bound(device, texture);
        TStateScope states(device);
        states.set(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
        states.set(D3DRENDERSTATE_ZWRITEENABLE, 0);
        states.set(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        device.DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, strip.data(), uint32_t(strip.size()), 0);
    }
    device.SetTransform(D3DTRANSFORMSTATE_WORLD, world);
}

void TintView(TD3DDevice& device, uint32_t colour) {
    constexpr TD3DTransformStateType kTransforms[] = {D3DTRANSFORMSTATE_WORLD, D3DTRANSFORMSTATE_VIEW, D3DTRANSFORMSTATE_PROJECTION};
    std::array<TD3DMatrix, 3> saved;
    for (size_t i = 0; i < 3; ++i) {
        saved[i] = device.GetTransform(kTransforms[i]);
        device.SetTransform(kTransforms[i], TD3DMatrix::Identity());
    }
    {
        TTextureScope untextured(device, nullptr);
        TStateScope states(device);
        states.set(D3DRENDERSTATE_ZENABLE, D3DZB_FALSE);
        states.set(D3DRENDERSTATE_ZWRITEENABLE, 0);
        states.set(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
        states.set(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
        states.set(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ZERO);
        states.set(D3DRENDERSTATE_DESTBLEND, D3DBLEND_SRCCOLOR);
        // With the identity matrices the corners are the view's own corners.
        std::array<TD3DLVertex, 4> quad{};
        const float corners[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
        for (size_t i = 0; i < 4; ++i) {
            quad[i].x = corners[i][0];
            quad[i].y = corners[i][1];
            quad[i].z = 0.5f;
            quad[i].color = 0xFF000000u | colour;
        }
        device.DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, quad.data(), 4, 0);
    }
    for (size_t i = 0; i < 3; ++i) device.SetTransform(kTransforms[i], saved[i]);
}

}  // namespace grottix
