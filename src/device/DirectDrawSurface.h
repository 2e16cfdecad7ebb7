#pragma once
// TDirectDrawSurface: the pixels of a device texture and its source colour key. Texels are kept as
// 0xFFRRGGBB words, top row first; backends read them through an immutable snapshot, so a frame that
// is still being drawn never sees a texture change under it.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "codecs/Bitmap.h"

namespace grottix {

struct TTexelImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> texels;  // 0xFFRRGGBB
};

class TDirectDrawSurface : public std::enable_shared_from_this<TDirectDrawSurface> {
public:
    // The largest side of a texture.
    static constexpr int kMaxSide = 8192;

    // A surface holding the picture's pixels (any pixel format); an empty picture gives a 1 x 1
    // black surface, so every surface can be sampled. A side beyond kMaxSide raises EGrottixError
    // ("Texture too large").
    static std::shared_ptr<TDirectDrawSurface> Create(const TBitmap& picture);
    // A surface holding texels made elsewhere (none, or no texels, gives the 1 x 1 black surface);
    // the sides are checked as above, and the texels must number width x height.
    static std::shared_ptr<TDirectDrawSurface> Create(std::shared_ptr<const TTexelImage> texels);

    int Width() const { return image_->width; }
    int Height() const { return image_->height; }
    const std::shared_ptr<const TTexelImage>& Image() const { return image_; }
    // Replaces the pixels (restoring a surface from its picture).
    void Assign(const TBitmap& picture);

    // One colour, given as a colour value (red in the low byte), used as source colour key: texels
    // of exactly that colour are not drawn while colour keying is on.
    void SetColorKey(TColor color);
    void ClearColorKey();
    // The key as a device colour 0x00RRGGBB, when one is set.
    std::optional<uint32_t> ColorKey() const { return colorKey_; }

    // Changes whenever the pixels or the key change; backends that cache uploads compare it.
    uint64_t Version() const { return version_; }

    // A 24-bit copy of the pixels.
    TBitmap ToBitmap() const;

private:
    TDirectDrawSurface() = default;

    std::shared_ptr<const TTexelImage> image_;
    std::optional<uint32_t> colorKey_;
    uint64_t version_ = 0;
};

}  // namespace grottix
