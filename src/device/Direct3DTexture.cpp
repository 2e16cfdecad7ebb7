#include "device/Direct3DTexture.h"

namespace grottix {

TDirect3DTexture2::TDirect3DTexture2(TCustomDXDraw* display, const TBitmap& picture)
    : display_(display), surface_(TDirectDrawSurface::Create(picture)) {}

TDirect3DTexture2::TDirect3DTexture2(TCustomDXDraw* display, std::shared_ptr<const TTexelImage> texels)
    : display_(display), surface_(TDirectDrawSurface::Create(std::move(texels))) {}

void TDirect3DTexture2::Restore(const TBitmap& picture) {
    surface_->Assign(picture);
    if (transparent_) surface_->SetColorKey(transparentColor_);
}

}  // namespace grottix
