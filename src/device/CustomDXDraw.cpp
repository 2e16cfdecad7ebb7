#include "device/CustomDXDraw.h"

#include <cstring>

namespace grottix {

TCustomDXDraw::TCustomDXDraw() = default;

TCustomDXDraw::~TCustomDXDraw() = default;

void TCustomDXDraw::checkSurface(const TSurfaceDesc& surface) {
    if (surface.width < 1 || surface.height < 1 || surface.width > kMaxSurfaceSide || surface.height > kMaxSurfaceSide)
        throw EDXDrawError("Unsupported surface size");
    if (surface.bitCount != 16 && surface.bitCount != 32) throw EDXDrawError("Unsupported surface bit depth");
}

void TCustomDXDraw::Initialize() {
    Finalize();
    TSurfaceDesc surface = SurfaceFor(options_);
    surface.zBuffer = options_.Contains(do3D) && options_.Contains(doZBuffer);
    checkSurface(surface);
    TDXDrawOptions granted = options_;
    std::unique_ptr<TD3DBackend> backend = CreateBackend(granted);
    backend->ResizeSurface(surface);
    backend_ = std::move(backend);
    nowOptions_ = granted;
    DisplayStarted();
    if (OnInitialize) OnInitialize(*this);
    if (OnInitializeSurface) OnInitializeSurface(*this);
}

void TCustomDXDraw::Finalize() {
    if (!backend_) return;
    if (OnFinalize) OnFinalize(*this);
    Release();
}

void TCustomDXDraw::Release() {
    if (!backend_) return;
    DisplayStopped();
    backend_.reset();
    nowOptions_ = {};
}

bool TCustomDXDraw::CanDraw() const { return backend_ && !backend_->IsLost(); }

void TCustomDXDraw::Flip(const TD3DRect* area) {
    if (!backend_) return;
    backend_->Flush();
    if (area) PresentArea(*backend_, *area);
    else Present(*backend_);
}

void TCustomDXDraw::ResizeSurface(const TSurfaceDesc& requested) {
    if (!backend_) return;
    TSurfaceDesc surface = requested;
    surface.zBuffer = backend_->Surface().zBuffer;
    checkSurface(surface);
    if (surface == backend_->Surface()) return;
    backend_->ResizeSurface(surface);
    if (OnInitializeSurface) OnInitializeSurface(*this);
}

int TCustomDXDraw::SurfaceWidth() const { return backend_ ? backend_->Surface().width : 0; }
int TCustomDXDraw::SurfaceHeight() const { return backend_ ? backend_->Surface().height : 0; }
int TCustomDXDraw::SurfaceBitCount() const { return backend_ ? backend_->Surface().bitCount : 0; }
bool TCustomDXDraw::HasZBuffer() const { return backend_ && backend_->Surface().zBuffer; }

TD3DDevice* TCustomDXDraw::D3DDevice7() const {
    return backend_ && nowOptions_.Contains(do3D) ? backend_.get() : nullptr;
}

TBitmap TCustomDXDraw::BackBufferBitmap() {
    if (!backend_) return TBitmap();
    const TSurfaceDesc& surface = backend_->Surface();
    std::vector<uint32_t> pixels(size_t(surface.width) * size_t(surface.height));
    backend_->ReadBackBuffer(pixels.data());
    TBitmap bitmap(surface.width, surface.height, TPixelFormat::pf32bit);
    std::memcpy(bitmap.Pixels().data(), pixels.data(), pixels.size() * 4);  // B, G, R, x in memory
    if (surface.bitCount == 16) bitmap.SetPixelFormat(TPixelFormat::pf16bit);
    return bitmap;
}

}  // namespace grottix
