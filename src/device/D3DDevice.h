#pragma once
// TD3DDevice: the 3D device the engine draws through. One interface, interchangeable backends: the
// CPU rasterizer, OpenGL, and a recording device for tests. Every call answers whether it was
// accepted; a refused call (unknown state number, bad vertex format, null data) changes nothing.

#include <cstdint>

#include "device/D3DTypes.h"

namespace grottix {

class TDirectDrawSurface;

class TD3DDevice {
public:
    virtual ~TD3DDevice() = default;

    // Render states by their Direct3D 7 number; values as the numbering of each state defines them.
    virtual bool SetRenderState(TD3DRenderStateType state, uint32_t value) = 0;
    virtual uint32_t GetRenderState(TD3DRenderStateType state) const = 0;

    // Texture-stage states (colour and alpha operations and arguments, filters, addressing).
    virtual bool SetTextureStageState(uint32_t stage, TD3DTextureStageStateType type, uint32_t value) = 0;
    virtual uint32_t GetTextureStageState(uint32_t stage, TD3DTextureStageStateType type) const = 0;

    // World, view and projection matrices; a vertex is drawn at v * world * view * projection.
    virtual bool SetTransform(TD3DTransformStateType type, const TD3DMatrix& matrix) = 0;
    virtual TD3DMatrix GetTransform(TD3DTransformStateType type) const = 0;

    virtual bool SetViewport(const TD3DViewport7& viewport) = 0;
    virtual TD3DViewport7 GetViewport() const = 0;
    virtual bool SetMaterial(const TD3DMaterial7& material) = 0;
    virtual TD3DMaterial7 GetMaterial() const = 0;

    // Clears the given rectangles (all of the viewport when count is 0) of the target and/or z-buffer.
    virtual bool Clear(uint32_t count, const TD3DRect* rects, uint32_t flags, uint32_t color, float z,
                       uint32_t stencil) = 0;

    virtual bool BeginScene() = 0;
    virtual bool EndScene() = 0;

    // The texture of a stage, or none. The device keeps the surface alive while it uses it.
    virtual bool SetTexture(uint32_t stage, TDirectDrawSurface* texture) = 0;
    virtual TDirectDrawSurface* GetTexture(uint32_t stage) const = 0;

    // Draws count vertices of format D3DFVF_LVERTEX as points, lines or triangles.
    virtual bool DrawPrimitive(TD3DPrimitiveType type, uint32_t vertexFormat, const void* vertices,
                               uint32_t count, uint32_t flags) = 0;
};

}  // namespace grottix
