#pragma once
// TRecordingDevice: a 3D device that draws nothing and records every call with its arguments, for
// tests of the code that draws. It keeps state like any device, so getters answer as usual, and can
// stand behind a headless display (its back buffer reads as black).

#include <optional>
#include <string>
#include <vector>

#include "device/DeviceState.h"

namespace grottix {

struct TDeviceCall {
    enum class TKind {
        SetRenderState, SetTextureStageState, SetTransform, SetViewport, SetMaterial, Clear, BeginScene,
        EndScene, SetTexture, DrawPrimitive,
    };
    TKind kind;
    // SetRenderState: state, value. SetTextureStageState: stage, type, value. SetTransform: type.
    // Clear: flags, colour. SetTexture: stage. DrawPrimitive: primitive type, vertex format, count.
    uint32_t a = 0, b = 0, c = 0;
    TD3DMatrix matrix;
    TD3DViewport7 viewport;
    TD3DMaterial7 material;
    std::vector<TD3DRect> rects;
    float z = 0;
    TDirectDrawSurface* texture = nullptr;  // SetTexture, and the stage-0 texture of a draw
    std::optional<uint32_t> textureKey;     // that texture's colour key when drawn
    std::vector<TD3DLVertex> vertices;      // a copy of what was drawn
    std::array<uint32_t, kRenderStateCount> renderStates{};  // render states in effect for a draw

    // One line such as "SetRenderState 22 1" or "DrawPrimitive 5 482 4".
    std::string ToString() const;
};

class TRecordingDevice : public TD3DBackend {
public:
    using TD3DBackend::TD3DBackend;

    bool SetRenderState(TD3DRenderStateType state, uint32_t value) override;
    bool SetTextureStageState(uint32_t stage, TD3DTextureStageStateType type, uint32_t value) override;
    bool SetTransform(TD3DTransformStateType type, const TD3DMatrix& matrix) override;
    bool SetViewport(const TD3DViewport7& viewport) override;
    bool SetMaterial(const TD3DMaterial7& material) override;
    bool Clear(uint32_t count, const TD3DRect* rects, uint32_t flags, uint32_t color, float z,
               uint32_t stencil) override;
    bool BeginScene() override;
    bool EndScene() override;
    bool SetTexture(uint32_t stage, TDirectDrawSurface* texture) override;
    bool DrawPrimitive(TD3DPrimitiveType type, uint32_t vertexFormat, const void* vertices, uint32_t count,
                       uint32_t flags) override;

    void ResizeSurface(const TSurfaceDesc& surface) override { surfaceChanged(surface); }
    void Flush() override {}
    void ReadBackBuffer(uint32_t* pixels) override;

    const std::vector<TDeviceCall>& Calls() const { return calls_; }
    std::vector<std::string> Lines() const;
    void ClearCalls() { calls_.clear(); }

private:
    TDeviceCall& record(TDeviceCall::TKind kind, uint32_t a = 0, uint32_t b = 0, uint32_t c = 0);

    std::vector<TDeviceCall> calls_;
};

}  // namespace grottix
