#pragma once
// The state every backend keeps (render states, texture stages, transforms, viewport, material,
// textures) with the defaults of a freshly created device, and a base device that validates and
// stores every setter so that a backend only has to draw.

#include <array>
#include <memory>

#include "device/D3DDevice.h"

namespace grottix {

struct TD3DDeviceState {
    std::array<uint32_t, kRenderStateCount> renderStates{};
    std::array<std::array<uint32_t, kTextureStageStateCount>, kMaxTextureStages> stageStates{};
    std::array<TD3DMatrix, 3> transforms{};  // world, view, projection
    TD3DViewport7 viewport;
    TD3DMaterial7 material;
    std::array<std::shared_ptr<TDirectDrawSurface>, kMaxTextureStages> textures;

    // Defaults of a new device; z testing starts on only when the device has a z-buffer.
    static TD3DDeviceState Defaults(bool hasZBuffer);

    uint32_t renderState(TD3DRenderStateType type) const { return renderStates[type]; }
    uint32_t stage0(TD3DTextureStageStateType type) const { return stageStates[0][type]; }
    const TD3DMatrix& world() const { return transforms[0]; }
    const TD3DMatrix& view() const { return transforms[1]; }
    const TD3DMatrix& projection() const { return transforms[2]; }
};

// Size and depth of a back buffer.
struct TSurfaceDesc {
    int width = 0;
    int height = 0;
    int bitCount = 32;  // 16 (5:6:5) or 32
    bool zBuffer = true;
    bool operator==(const TSurfaceDesc&) const = default;
};

class TD3DStateDevice : public TD3DDevice {
public:
    explicit TD3DStateDevice(bool hasZBuffer = true);

    bool SetRenderState(TD3DRenderStateType state, uint32_t value) override;
    uint32_t GetRenderState(TD3DRenderStateType state) const override;
    bool SetTextureStageState(uint32_t stage, TD3DTextureStageStateType type, uint32_t value) override;
    uint32_t GetTextureStageState(uint32_t stage, TD3DTextureStageStateType type) const override;
    bool SetTransform(TD3DTransformStateType type, const TD3DMatrix& matrix) override;
    TD3DMatrix GetTransform(TD3DTransformStateType type) const override;
    bool SetViewport(const TD3DViewport7& viewport) override;
    TD3DViewport7 GetViewport() const override;
    bool SetMaterial(const TD3DMaterial7& material) override;
    TD3DMaterial7 GetMaterial() const override;
    bool BeginScene() override;
    bool EndScene() override;
    bool SetTexture(uint32_t stage, TDirectDrawSurface* texture) override;
    TDirectDrawSurface* GetTexture(uint32_t stage) const override;

    const TD3DDeviceState& State() const { return state_; }
    bool InScene() const { return inScene_; }

protected:
    // Called after any state above changed, so that a backend can drop what it derived from it.
    virtual void StateChanged() {}
    virtual void SceneEnded() {}
    // True when the stage-0 texture's pixels or colour key changed since the last call; a key set
    // on a surface that is already the texture reaches the device without a state call.
    bool TextureChanged();

    TD3DDeviceState state_;

private:
    bool inScene_ = false;
    const TDirectDrawSurface* seenTexture_ = nullptr;
    uint64_t seenTextureVersion_ = 0;
};

// A device that draws into a back buffer of its own: the CPU rasterizer and OpenGL.
class TD3DBackend : public TD3DStateDevice {
public:
    using TD3DStateDevice::TD3DStateDevice;

    // Refuses a viewport that does not lie inside the back buffer.
    bool SetViewport(const TD3DViewport7& viewport) override;

    // Recreates the back buffer (contents undefined) and resets the viewport to cover it.
    virtual void ResizeSurface(const TSurfaceDesc& surface) = 0;
    const TSurfaceDesc& Surface() const { return surface_; }
    // Finishes all drawing issued so far.
    virtual void Flush() = 0;
    // Copies the back buffer, top row first, as width x height pixels 0xFFRRGGBB.
    virtual void ReadBackBuffer(uint32_t* pixels) = 0;
    // True when the device can no longer draw (a graphics context reset by the driver).
    virtual bool IsLost() const { return false; }

protected:
    // Remembers the new back buffer and makes the viewport cover all of it.
    void surfaceChanged(const TSurfaceDesc& surface);

    TSurfaceDesc surface_;
};


}  // namespace grottix
