#pragma once
// TOpenGLDevice: the 3D device on OpenGL 3.3 core (hardware acceleration on). It renders into a
// framebuffer object of its own through a private QOpenGLContext on an offscreen surface, so it
// does not depend on any widget; the display presents what it reads back. Textures are uploaded
// once per surface (again only when their pixels change), vertices stream through one buffer.

#include <memory>

#include "device/DeviceState.h"

namespace grottix {

class TOpenGLDevice : public TD3DBackend {
public:
    // Throws EDXDrawError when no OpenGL 3.3 core context can be made.
    explicit TOpenGLDevice(const TSurfaceDesc& surface);
    ~TOpenGLDevice() override;

    // Whether an OpenGL 3.3 core context can be made here (needs a window system with OpenGL).
    static bool Available();

    bool Clear(uint32_t count, const TD3DRect* rects, uint32_t flags, uint32_t color, float z,
               uint32_t stencil) override;
    bool DrawPrimitive(TD3DPrimitiveType type, uint32_t vertexFormat, const void* vertices, uint32_t count,
                       uint32_t flags) override;

    void ResizeSurface(const TSurfaceDesc& surface) override;
    void Flush() override;
    void ReadBackBuffer(uint32_t* pixels) override;
    bool IsLost() const override;

protected:
    void StateChanged() override;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

}  // namespace grottix
