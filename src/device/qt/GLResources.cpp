#include "device/qt/GLResources.h"

#include <cstring>

#include "device/CustomDXDraw.h"

namespace grottix {

TGLFramebuffer::TGLFramebuffer(QOpenGLFunctions_3_3_Core& gl) : gl_(gl) {}

TGLFramebuffer::~TGLFramebuffer() { release(); }

void TGLFramebuffer::release() {
    if (framebuffer_) gl_.glDeleteFramebuffers(1, &framebuffer_);
    if (color_) gl_.glDeleteRenderbuffers(1, &color_);
    if (depth_) gl_.glDeleteRenderbuffers(1, &depth_);
    framebuffer_ = color_ = depth_ = 0;
}

void TGLFramebuffer::Resize(const TSurfaceDesc& surface) {
    release();
    width_ = surface.width;
    height_ = surface.height;
    gl_.glGenFramebuffers(1, &framebuffer_);
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    gl_.glGenRenderbuffers(1, &color_);
    gl_.glBindRenderbuffer(GL_RENDERBUFFER, color_);
    gl_.glRenderbufferStorage(GL_RENDERBUFFER, surface.bitCount == 16 ? GL_RGB565 : GL_RGBA8, width_, height_);
    gl_.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color_);
    if (surface.zBuffer) {
        gl_.glGenRenderbuffers(1, &depth_);
        gl_.glBindRenderbuffer(GL_RENDERBUFFER, depth_);
        gl_.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT32F, width_, height_);
        gl_.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    }
    if (gl_.glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        release();
        throw EDXDrawError("OpenGL cannot draw into a surface of that format");
    }
    gl_.glDisable(GL_SCISSOR_TEST);
    gl_.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl_.glDepthMask(GL_TRUE);
    gl_.glClearColor(0, 0, 0, 1);
    gl_.glClearDepth(1);
    gl_.glClear(GL_COLOR_BUFFER_BIT | (depth_ ? GL_DEPTH_BUFFER_BIT : 0));
}

void TGLFramebuffer::Read(uint32_t* pixels) {
    gl_.glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    gl_.glPixelStorei(GL_PACK_ALIGNMENT, 4);
    gl_.glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    const size_t count = size_t(width_) * size_t(height_);
    for (size_t i = 0; i < count; ++i) pixels[i] |= 0xFF000000u;
}

void TGLFramebuffer::BlitTo(GLuint target, QSize size, const QRect& placed, bool smooth) {
    gl_.glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    gl_.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, target);
    gl_.glDisable(GL_SCISSOR_TEST);
    if (placed != QRect(QPoint(0, 0), size)) {
        gl_.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        gl_.glClearColor(0, 0, 0, 1);
        gl_.glClear(GL_COLOR_BUFFER_BIT);
    }
    // Row 0 of the framebuffer holds the picture's top row; row 0 of a window is its bottom one.
    const int top = size.height() - placed.y(), bottom = top - placed.height();
    gl_.glBlitFramebuffer(0, 0, width_, height_, placed.x(), top, placed.x() + placed.width(), bottom, GL_COLOR_BUFFER_BIT,
                          smooth ? GL_LINEAR : GL_NEAREST);
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
}

TGLVertexStream::TGLVertexStream(QOpenGLFunctions_3_3_Core& gl) : gl_(gl) {
    gl_.glGenVertexArrays(1, &vertexArray_);
    gl_.glBindVertexArray(vertexArray_);
    gl_.glGenBuffers(1, &buffer_);
    allocate(size_t{4} << 20);
}

TGLVertexStream::~TGLVertexStream() {
    gl_.glDeleteBuffers(1, &buffer_);
    gl_.glDeleteVertexArrays(1, &vertexArray_);
}

void TGLVertexStream::allocate(size_t bytes) {
    capacity_ = bytes;
    used_ = 0;
    gl_.glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    gl_.glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(capacity_), nullptr, GL_STREAM_DRAW);
    constexpr GLsizei stride = sizeof(TD3DLVertex);
    gl_.glEnableVertexAttribArray(0);
    gl_.glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(0));
    gl_.glEnableVertexAttribArray(1);
    gl_.glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride, reinterpret_cast<const void*>(16));
    gl_.glEnableVertexAttribArray(2);
    gl_.glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride, reinterpret_cast<const void*>(20));
    gl_.glEnableVertexAttribArray(3);
    gl_.glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<const void*>(24));
}

uint32_t TGLVertexStream::Append(const TD3DLVertex* vertices, uint32_t count) {
    const size_t bytes = size_t(count) * sizeof(TD3DLVertex);
    gl_.glBindVertexArray(vertexArray_);
    if (bytes > capacity_) {
        size_t grown = capacity_;
        while (grown < bytes) grown *= 2;
        allocate(grown);
    } else if (used_ + bytes > capacity_) {
        allocate(capacity_);  // orphans the full buffer
    }
    gl_.glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    void* target = gl_.glMapBufferRange(GL_ARRAY_BUFFER, GLintptr(used_), GLsizeiptr(bytes),
                                        GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (target) {
        std::memcpy(target, vertices, bytes);
        gl_.glUnmapBuffer(GL_ARRAY_BUFFER);
    } else {
        gl_.glBufferSubData(GL_ARRAY_BUFFER, GLintptr(used_), GLsizeiptr(bytes), vertices);
    }
    const uint32_t first = uint32_t(used_ / sizeof(TD3DLVertex));
    used_ += bytes;
    return first;
}

TGLTextureCache::TGLTextureCache(QOpenGLFunctions_3_3_Core& gl) : gl_(gl) {
    gl_.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize_);
}

TGLTextureCache::~TGLTextureCache() {
    for (auto& [surface, texture] : textures_) gl_.glDeleteTextures(1, &texture.name);
}

const TGLTexture* TGLTextureCache::Bind(TDirectDrawSurface* surface) {
    gl_.glActiveTexture(GL_TEXTURE0);
    if (!surface || surface->Width() > maxSize_ || surface->Height() > maxSize_) {
        gl_.glBindTexture(GL_TEXTURE_2D, 0);
        return nullptr;
    }
    TGLTexture& texture = textures_[surface];
    if (texture.surface.lock().get() != surface) {  // a new surface, perhaps at a freed one's address
        if (!texture.name) gl_.glGenTextures(1, &texture.name);
        texture.surface = surface->weak_from_this();
        texture.image.reset();
    }
    gl_.glBindTexture(GL_TEXTURE_2D, texture.name);
    if (texture.image != surface->Image()) {
        texture.image = surface->Image();
        texture.width = texture.image->width;
        texture.height = texture.image->height;
        gl_.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        gl_.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture.width, texture.height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                         texture.image->texels.data());
        gl_.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        gl_.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        gl_.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    }
    return &texture;
}

void TGLTextureCache::Purge() {
    for (auto it = textures_.begin(); it != textures_.end();) {
        if (it->second.surface.expired()) {
            gl_.glDeleteTextures(1, &it->second.name);
            it = textures_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace grottix
