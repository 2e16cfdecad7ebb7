#include "device/HeadlessDXDraw.h"

#include "device/SoftwareDevice.h"

namespace grottix {

THeadlessDXDraw::THeadlessDXDraw(int width, int height, int bitCount, int workers)
    : surface_{width, height, bitCount, true}, workers_(workers) {
    SetOptions({do3D, doDirectX7Mode, doZBuffer});
}

THeadlessDXDraw::~THeadlessDXDraw() { Finalize(); }

void THeadlessDXDraw::SetSurfaceSize(int width, int height, int bitCount) {
    surface_ = TSurfaceDesc{width, height, bitCount, true};
    if (Initialized()) ResizeSurface(surface_);
}

TSurfaceDesc THeadlessDXDraw::SurfaceFor(const TDXDrawOptions& /*options*/) const { return surface_; }

std::unique_ptr<TD3DBackend> THeadlessDXDraw::CreateBackend(TDXDrawOptions& options) {
    options.Exclude(doHardware);
    TSurfaceDesc surface = surface_;
    surface.zBuffer = options.Contains(do3D) && options.Contains(doZBuffer);
    return std::make_unique<TSoftwareDevice>(surface, workers_);
}

void THeadlessDXDraw::Present(const uint32_t* /*pixels*/, int /*width*/, int /*height*/) { ++flipCount_; }

}  // namespace grottix
