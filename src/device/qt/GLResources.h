#pragma once
// The OpenGL objects behind the device: the framebuffer drawn into, the vertex stream and the
// texture cache.

#include <QOpenGLFunctions_3_3_Core>
#include <QRect>
#include <memory>
#include <unordered_map>

#include "device/DeviceState.h"
#include "device/DirectDrawSurface.h"

namespace grottix {

// Colour (RGBA8, or RGB565 for a 16-bit surface) and depth (32-bit float) renderbuffers.
class TGLFramebuffer {
public:
    explicit TGLFramebuffer(QOpenGLFunctions_3_3_Core& gl);
    ~TGLFramebuffer();
    // Recreates the buffers at that size and leaves the framebuffer bound and cleared to black.
    void Resize(const TSurfaceDesc& surface);
    // Reads every pixel, top row first, as 0xFFRRGGBB.
    void Read(uint32_t* pixels);
    // Copies the picture into target (a framebuffer of the given size) at placed (top left origin),
    // filtered when smooth, black around it; leaves this framebuffer bound.
    void BlitTo(GLuint target, QSize size, const QRect& placed, bool smooth);

private:
    void release();

    QOpenGLFunctions_3_3_Core& gl_;
    GLuint framebuffer_ = 0, color_ = 0, depth_ = 0;
    int width_ = 0, height_ = 0;
};

// One vertex buffer written front to back and orphaned when full, so that the driver never waits
// for a draw still reading it.
class TGLVertexStream {
public:
    explicit TGLVertexStream(QOpenGLFunctions_3_3_Core& gl);
    ~TGLVertexStream();
    // Copies the vertices into the buffer; returns the index of the first one.
    uint32_t Append(const TD3DLVertex* vertices, uint32_t count);

private:
    void allocate(size_t bytes);

    QOpenGLFunctions_3_3_Core& gl_;
    GLuint vertexArray_ = 0, buffer_ = 0;
    size_t capacity_ = 0, used_ = 0;
};

struct TGLTexture {
    GLuint name = 0;
    int width = 0, height = 0;
    std::weak_ptr<TDirectDrawSurface> surface;
    std::shared_ptr<const TTexelImage> image;  // the pixels uploaded
};

// One OpenGL texture per surface, uploaded on first use and again only when its pixels change.
class TGLTextureCache {
public:
    explicit TGLTextureCache(QOpenGLFunctions_3_3_Core& gl);
    ~TGLTextureCache();
    // Binds the surface's texture to unit 0; none (and nothing bound) for no surface.
    const TGLTexture* Bind(TDirectDrawSurface* surface);
    // Deletes the textures of surfaces that no longer exist.
    void Purge();

private:
    QOpenGLFunctions_3_3_Core& gl_;
    std::unordered_map<const TDirectDrawSurface*, TGLTexture> textures_;
    GLint maxSize_ = 0;
};

}  // namespace grottix
