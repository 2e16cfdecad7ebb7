#pragma once
// TDirect3DTexture2: a device texture made from a picture for a display. Its surface holds the
// pixels in memory of its own, so it outlives display changes; backends that keep a copy in video
// memory rebuild that copy by themselves when the display is recreated.

#include <memory>

#include "codecs/Bitmap.h"
#include "device/DirectDrawSurface.h"

namespace grottix {

class TCustomDXDraw;

class TDirect3DTexture2 {
public:
    // The display may be none (a texture made before any display exists).
    TDirect3DTexture2(TCustomDXDraw* display, const TBitmap& picture);
    // A texture over texels already in the surface's form (no conversion).
    TDirect3DTexture2(TCustomDXDraw* display, std::shared_ptr<const TTexelImage> texels);

    TCustomDXDraw* Display() const { return display_; }
    // The texture's surface; what SetTexture of the 3D device takes.
    TDirectDrawSurface& Surface() const { return *surface_; }

    // Whether, and with which colour, the surface gets a colour key when it is rebuilt.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor color) { transparentColor_ = color; }

    // Rebuilds the surface from a picture, keyed with the transparent colour when Transparent.
    void Restore(const TBitmap& picture);

private:
    TCustomDXDraw* display_;
    std::shared_ptr<TDirectDrawSurface> surface_;
    bool transparent_ = false;
    TColor transparentColor_ = 0;
};

}  // namespace grottix
