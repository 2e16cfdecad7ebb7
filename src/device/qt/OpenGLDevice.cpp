#include "device/qt/OpenGLDevice.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLVersionFunctionsFactory>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "device/CustomDXDraw.h"
#include "device/raster/VertexProcessing.h"
#include "device/qt/GLProgram.h"
#include "device/qt/GLResources.h"

namespace grottix {

namespace {

QSurfaceFormat coreFormat() {
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setRenderableType(QSurfaceFormat::OpenGL);
    return format;
}

GLenum primitiveMode(TD3DPrimitiveType type) {
    switch (type) {
        case D3DPT_POINTLIST: return GL_POINTS;
        case D3DPT_LINELIST: return GL_LINES;
        case D3DPT_LINESTRIP: return GL_LINE_STRIP;
        case D3DPT_TRIANGLELIST: return GL_TRIANGLES;
        case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
        default: return GL_TRIANGLE_FAN;
    }
}

GLenum blendFactor(uint32_t factor) {
    switch (factor) {
        case D3DBLEND_ZERO: return GL_ZERO;
        case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA: return GL_ONE;  // the back buffer has no alpha of its own
        case D3DBLEND_INVDESTALPHA: return GL_ZERO;
        case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
        case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
        case D3DBLEND_SRCALPHASAT: return GL_ZERO;
        default: return GL_ONE;
    }
}

GLenum depthFunction(uint32_t func) {
    switch (func) {
        case D3DCMP_NEVER: return GL_NEVER;
        case D3DCMP_LESS: return GL_LESS;
        case D3DCMP_EQUAL: return GL_EQUAL;
        case D3DCMP_LESSEQUAL: return GL_LEQUAL;
        case D3DCMP_GREATER: return GL_GREATER;
        case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
        case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
        default: return GL_ALWAYS;
    }
}

GLenum polygonMode(uint32_t fill) {
    if (fill == D3DFILL_POINT) return GL_POINT;
    if (fill == D3DFILL_WIREFRAME) return GL_LINE;
    return GL_FILL;
}

}  // namespace

struct TOpenGLDevice::TImpl {
    QOpenGLContext context;
    QOffscreenSurface offscreen;
    QOpenGLFunctions_3_3_Core* gl = nullptr;
    std::unique_ptr<TGLProgram> program;
    std::unique_ptr<TGLFramebuffer> framebuffer;
    std::unique_ptr<TGLVertexStream> stream;
    std::unique_ptr<TGLTextureCache> textures;
    bool stateDirty = true;

    void makeCurrent() {
        if (QOpenGLContext::currentContext() != &context && !context.makeCurrent(&offscreen))
            throw EDXDrawError("OpenGL context lost");
    }
};

QSurfaceFormat TOpenGLDevice::SurfaceFormat() { return coreFormat(); }

bool TOpenGLDevice::Available() {
    QOpenGLContext context;
    context.setFormat(coreFormat());
    if (!context.create()) return false;
    const QSurfaceFormat format = context.format();
    return format.profile() == QSurfaceFormat::CoreProfile &&
           std::pair(format.majorVersion(), format.minorVersion()) >= std::pair(3, 3);
}

std::string TOpenGLDevice::RendererName() {
    static const std::string name = [] {
        QOpenGLContext context;
        context.setFormat(coreFormat());
        QOffscreenSurface surface;
        surface.setFormat(coreFormat());
        surface.create();
        if (!context.create() || !surface.isValid() || !context.makeCurrent(&surface)) return std::string();
        const auto* text = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
        std::string renderer = text ? text : "";
        context.doneCurrent();
        return renderer;
    }();
    return name;
}

bool TOpenGLDevice::SoftwareRenderer() {
    const QString name = QString::fromStdString(RendererName()).toLower();
    for (const char* software : {"llvmpipe", "softpipe", "software rasterizer", "swrast", "swiftshader"})
        if (name.contains(QLatin1String(software))) return true;
    return false;
}

TOpenGLDevice::TOpenGLDevice(const TSurfaceDesc& surface) : TD3DBackend(surface.zBuffer), impl_(std::make_unique<TImpl>()) {
    TImpl& d = *impl_;
    d.context.setFormat(coreFormat());
    if (!d.context.create()) throw EDXDrawError("OpenGL 3.3 is not available");
    const QSurfaceFormat format = d.context.format();
    if (std::pair(format.majorVersion(), format.minorVersion()) < std::pair(3, 3))
        throw EDXDrawError("OpenGL 3.3 is not available");
    d.offscreen.setFormat(format);
    d.offscreen.create();
    if (!d.offscreen.isValid() || !d.context.makeCurrent(&d.offscreen)) throw EDXDrawError("OpenGL 3.3 is not available");
    d.gl = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(&d.context);
    if (!d.gl || !d.gl->initializeOpenGLFunctions()) throw EDXDrawError("OpenGL 3.3 is not available");
    d.program = std::make_unique<TGLProgram>(*d.gl);
    d.stream = std::make_unique<TGLVertexStream>(*d.gl);
    d.textures = std::make_unique<TGLTextureCache>(*d.gl);
    d.framebuffer = std::make_unique<TGLFramebuffer>(*d.gl);
    d.gl->glFrontFace(GL_CCW);
    d.gl->glDisable(GL_DITHER);
    ResizeSurface(surface);
}

TOpenGLDevice::~TOpenGLDevice() {
    if (impl_->context.makeCurrent(&impl_->offscreen)) {
        impl_->program.reset();
        impl_->stream.reset();
        impl_->textures.reset();
        impl_->framebuffer.reset();
        impl_->context.doneCurrent();
    }
}

void TOpenGLDevice::StateChanged() { impl_->stateDirty = true; }

bool TOpenGLDevice::IsLost() const { return !impl_->context.isValid(); }

void TOpenGLDevice::ResizeSurface(const TSurfaceDesc& surface) {
    impl_->makeCurrent();
    impl_->framebuffer->Resize(surface);
    surfaceChanged(surface);
    impl_->stateDirty = true;
}

bool TOpenGLDevice::Clear(uint32_t count, const TD3DRect* rects, uint32_t flags, uint32_t color, float z,
                          uint32_t /*stencil: there is no stencil buffer*/) {
    if (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) return false;
    if (count > 0 && !rects) return false;
    impl_->makeCurrent();
    QOpenGLFunctions_3_3_Core& gl = *impl_->gl;
    const TD3DViewport7& vp = state_.viewport;
    const TD3DRect viewport{int32_t(vp.dwX), int32_t(vp.dwY), int32_t(vp.dwX + vp.dwWidth), int32_t(vp.dwY + vp.dwHeight)};
    GLbitfield bits = 0;
    if (flags & D3DCLEAR_TARGET) bits |= GL_COLOR_BUFFER_BIT;
    if ((flags & D3DCLEAR_ZBUFFER) && surface_.zBuffer) bits |= GL_DEPTH_BUFFER_BIT;
    if (!bits) return true;
    if (surface_.bitCount == 16) {  // exact 5:6:5 steps, whether the driver rounds or truncates
        gl.glClearColor(float((ArgbRed(color) * 31 + 127) / 255) / 31, float((ArgbGreen(color) * 63 + 127) / 255) / 63,
                        float((ArgbBlue(color) * 31 + 127) / 255) / 31, 1.0f);
    } else {
        gl.glClearColor(ArgbRed(color) / 255.0f, ArgbGreen(color) / 255.0f, ArgbBlue(color) / 255.0f, 1.0f);
    }
    gl.glClearDepth(std::isfinite(z) ? std::clamp(double(z), 0.0, 1.0) : 1.0);
    gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl.glDepthMask(GL_TRUE);
    gl.glEnable(GL_SCISSOR_TEST);
    for (uint32_t i = 0; i < std::max<uint32_t>(count, 1); ++i) {
        const TD3DRect r = count ? rects[i] : viewport;
        const int left = std::max(r.x1, viewport.x1), top = std::max(r.y1, viewport.y1);
        const int right = std::min(r.x2, viewport.x2), bottom = std::min(r.y2, viewport.y2);
        if (left >= right || top >= bottom) continue;
        gl.glScissor(left, top, right - left, bottom - top);
        gl.glClear(bits);
    }
    impl_->stateDirty = true;  // masks and scissor were changed
    return true;
}

bool TOpenGLDevice::DrawPrimitive(TD3DPrimitiveType type, uint32_t vertexFormat, const void* vertices,
                                  uint32_t count, uint32_t /*flags*/) {
    if (vertexFormat != D3DFVF_LVERTEX || !vertices || type < D3DPT_POINTLIST || type > D3DPT_TRIANGLEFAN) return false;
    if (raster::PrimitiveCount(type, count) == 0) return true;
    impl_->makeCurrent();
    QOpenGLFunctions_3_3_Core& gl = *impl_->gl;
    const uint32_t first = impl_->stream->Append(static_cast<const TD3DLVertex*>(vertices), count);
    if (TextureChanged()) impl_->stateDirty = true;
    if (impl_->stateDirty) {
        const TD3DDeviceState& s = state_;
        const TGLTexture* texture = impl_->textures->Bind(s.textures[0].get());
        impl_->program->Use();
        impl_->program->Apply(s, surface_.bitCount == 16, texture != nullptr, texture ? texture->width : 1, texture ? texture->height : 1);
        const TD3DViewport7& vp = s.viewport;
        gl.glViewport(GLint(vp.dwX), GLint(vp.dwY), GLsizei(vp.dwWidth), GLsizei(vp.dwHeight));
        gl.glScissor(GLint(vp.dwX), GLint(vp.dwY), GLsizei(vp.dwWidth), GLsizei(vp.dwHeight));
        gl.glEnable(GL_SCISSOR_TEST);
        gl.glDepthRange(std::clamp(double(vp.dvMinZ), 0.0, 1.0), std::clamp(double(vp.dvMaxZ), 0.0, 1.0));
        const bool zTest = surface_.zBuffer && s.renderState(D3DRENDERSTATE_ZENABLE) != D3DZB_FALSE;
        if (zTest) gl.glEnable(GL_DEPTH_TEST);
        else gl.glDisable(GL_DEPTH_TEST);
        gl.glDepthFunc(depthFunction(s.renderState(D3DRENDERSTATE_ZFUNC)));
        gl.glDepthMask(s.renderState(D3DRENDERSTATE_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);
        gl.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
        uint32_t src = s.renderState(D3DRENDERSTATE_SRCBLEND), dst = s.renderState(D3DRENDERSTATE_DESTBLEND);
        if (src == D3DBLEND_BOTHSRCALPHA) src = D3DBLEND_SRCALPHA, dst = D3DBLEND_INVSRCALPHA;
        if (src == D3DBLEND_BOTHINVSRCALPHA) src = D3DBLEND_INVSRCALPHA, dst = D3DBLEND_SRCALPHA;
        if (s.renderState(D3DRENDERSTATE_ALPHABLENDENABLE)) gl.glEnable(GL_BLEND);
        else gl.glDisable(GL_BLEND);
        gl.glBlendFunc(blendFactor(src), blendFactor(dst));
        // On screen (rows downwards) Direct3D's counter-clockwise is OpenGL's clockwise.
        const uint32_t cull = s.renderState(D3DRENDERSTATE_CULLMODE);
        if (cull == D3DCULL_CCW || cull == D3DCULL_CW) {
            gl.glEnable(GL_CULL_FACE);
            gl.glCullFace(cull == D3DCULL_CCW ? GL_BACK : GL_FRONT);
        } else {
            gl.glDisable(GL_CULL_FACE);
        }
        gl.glPolygonMode(GL_FRONT_AND_BACK, polygonMode(s.renderState(D3DRENDERSTATE_FILLMODE)));
        impl_->stateDirty = false;
    }
    gl.glDrawArrays(primitiveMode(type), GLint(first), GLsizei(count));
    return true;
}

void TOpenGLDevice::Flush() {
    impl_->makeCurrent();
    impl_->gl->glFlush();
    impl_->textures->Purge();
}

void TOpenGLDevice::Finish() {
    Flush();
    impl_->gl->glFinish();
}

void TOpenGLDevice::ReadBackBuffer(uint32_t* pixels) {
    impl_->makeCurrent();
    impl_->framebuffer->Read(pixels);
    ++framesReadBack_;
}

void TOpenGLDevice::Present(QWindow& window, const QRect& target, bool smooth) {
    TImpl& d = *impl_;
    if ((QOpenGLContext::currentContext() != &d.context || d.context.surface() != &window) && !d.context.makeCurrent(&window))
        throw EDXDrawError("OpenGL cannot draw into the window");
    d.framebuffer->BlitTo(d.context.defaultFramebufferObject(), window.size() * window.devicePixelRatio(), target, smooth);
    d.context.swapBuffers(&window);
    d.stateDirty = true;  // blitting changed the scissor test and the colour mask
    ++framesPresented_;
}

void TOpenGLDevice::ReleaseWindow(QWindow& window) {
    TImpl& d = *impl_;
    if (d.context.surface() == &window && !d.context.makeCurrent(&d.offscreen)) d.context.doneCurrent();
}

}  // namespace grottix
