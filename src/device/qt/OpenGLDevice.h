#pragma once
// TOpenGLDevice: the 3D device on OpenGL 3.3 core (hardware acceleration on). It renders into a
// framebuffer object of its own through a private QOpenGLContext, so it does not depend on any
// widget: a display shows a frame by having it blitted into an OpenGL window and swapping that
// window's buffers (Present), and reads pixels back only when it needs them in memory. Textures are
// uploaded once per surface (again only when their pixels change), vertices stream through one
// buffer.

#include <QRect>
#include <QSurfaceFormat>
#include <memory>
#include <string>

#include "device/DeviceState.h"

class QWindow;

namespace grottix {

class TOpenGLDevice : public TD3DBackend {
public:
    // Throws EDXDrawError when no OpenGL 3.3 core context can be made.
    explicit TOpenGLDevice(const TSurfaceDesc& surface);
    ~TOpenGLDevice() override;

    // Whether an OpenGL 3.3 core context can be made here (needs a window system with OpenGL).
    static bool Available();
    // The OpenGL renderer's name (GL_RENDERER), asked once a run; empty without OpenGL.
    static std::string RendererName();
    // Whether that renderer draws on the CPU (Mesa's llvmpipe or softpipe, or another software
    // rasterizer): slower than the engine's own CPU rasterizer.
    static bool SoftwareRenderer();
    // The format of the device's context; a window the device presents in must have it.
    static QSurfaceFormat SurfaceFormat();

    bool Clear(uint32_t count, const TD3DRect* rects, uint32_t flags, uint32_t color, float z,
               uint32_t stencil) override;
    bool DrawPrimitive(TD3DPrimitiveType type, uint32_t vertexFormat, const void* vertices, uint32_t count,
                       uint32_t flags) override;

    void ResizeSurface(const TSurfaceDesc& surface) override;
    // Hands all drawing issued so far to the driver without waiting for it (Finish waits).
    void Flush() override;
    void Finish();
    void ReadBackBuffer(uint32_t* pixels) override;
    bool IsLost() const override;

    // Shows the back buffer in an exposed OpenGL window of SurfaceFormat: blitted into target (in
    // the window's device pixels, top left origin; filtered when smooth) with black around it, then
    // the window's buffers swapped. The context stays current on the window afterwards.
    void Present(QWindow& window, const QRect& target, bool smooth);
    // Moves the context off a window that is going away.
    void ReleaseWindow(QWindow& window);

    // Frames copied into memory by ReadBackBuffer, and frames presented, since creation.
    uint64_t FramesReadBack() const { return framesReadBack_; }
    uint64_t FramesPresented() const { return framesPresented_; }

protected:
    void StateChanged() override;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
    uint64_t framesReadBack_ = 0;
    uint64_t framesPresented_ = 0;
};

}  // namespace grottix
