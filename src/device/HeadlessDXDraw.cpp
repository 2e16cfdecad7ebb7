#include "device/HeadlessDXDraw.h"

#include "device/RecordingDevice.h"
#include "device/SoftwareDevice.h"

namespace grottix {

THeadlessDXDraw::THeadlessDXDraw(int width, int height, int bitCount, int workers, TDevice device)
    : surface_{width, height, bitCount, true}, workers_(workers), device_(device) {
    SetOptions({do3D, doDirectX7Mode, doZBuffer});
}

THeadlessDXDraw::~THeadlessDXDraw() { Release(); }

void THeadlessDXDraw::SetSurfaceSize(int width, int height, int bitCount) {
    surface_ = TSurfaceDesc{width, height, bitCount, true};
    if (Initialized()) ResizeSurface(surface_);
}

TSurfaceDesc THeadlessDXDraw::SurfaceFor(const TDXDrawOptions& /*options*/) const { return surface_; }

std::unique_ptr<TD3DBackend> THeadlessDXDraw::CreateBackend(TDXDrawOptions& options) {
    options.Exclude(doHardware);
    TSurfaceDesc surface = surface_;
    surface.zBuffer = options.Contains(do3D) && options.Contains(doZBuffer);
    if (device_ == TDevice::Recording) return std::make_unique<TRecordingDevice>(surface.zBuffer);
    return std::make_unique<TSoftwareDevice>(surface, workers_);
}

TRecordingDevice* THeadlessDXDraw::Recorder() const { return dynamic_cast<TRecordingDevice*>(Backend()); }

void THeadlessDXDraw::Present(TD3DBackend& /*backend: the frame stays where it was drawn*/) { ++flipCount_; }

}  // namespace grottix
