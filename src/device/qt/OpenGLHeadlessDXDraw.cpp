#include "device/qt/OpenGLHeadlessDXDraw.h"

#include "device/qt/OpenGLDevice.h"

namespace grottix {

TOpenGLHeadlessDXDraw::TOpenGLHeadlessDXDraw(int width, int height) : THeadlessDXDraw(width, height) {
    TDXDrawOptions options = Options();
    options.Include(doHardware);
    SetOptions(options);
}

TOpenGLHeadlessDXDraw::~TOpenGLHeadlessDXDraw() { Finalize(); }

std::unique_ptr<TD3DBackend> TOpenGLHeadlessDXDraw::CreateBackend(TDXDrawOptions& options) {
    if (options.Contains(doHardware) && TOpenGLDevice::Available()) {
        TSurfaceDesc surface = SurfaceFor(options);
        surface.zBuffer = options.Contains(do3D) && options.Contains(doZBuffer);
        try {
            return std::make_unique<TOpenGLDevice>(surface);
        } catch (const EDXDrawError&) {
        }
    }
    return THeadlessDXDraw::CreateBackend(options);
}

void TOpenGLHeadlessDXDraw::Present(TD3DBackend& backend) {
    if (auto* device = dynamic_cast<TOpenGLDevice*>(&backend)) device->Finish();
    THeadlessDXDraw::Present(backend);
}

}  // namespace grottix
