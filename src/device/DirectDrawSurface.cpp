#include "device/DirectDrawSurface.h"

#include "storage/Exceptions.h"

namespace grottix {

namespace {

uint32_t deviceColor(TColor color) {
    return (uint32_t{GetRValue(color)} << 16) | (uint32_t{GetGValue(color)} << 8) | GetBValue(color);
}

void checkSides(int width, int height) {
    if (width > TDirectDrawSurface::kMaxSide || height > TDirectDrawSurface::kMaxSide)
        throw EGrottixError("Texture too large");
}

std::shared_ptr<TTexelImage> blackTexel() {
    auto image = std::make_shared<TTexelImage>();
    image->width = image->height = 1;
    image->texels.assign(1, 0xFF000000u);
    return image;
}

std::shared_ptr<const TTexelImage> texelsOf(const TBitmap& picture) {
    checkSides(picture.Width(), picture.Height());
    if (picture.Empty()) return blackTexel();
    auto image = std::make_shared<TTexelImage>();
    image->width = picture.Width();
    image->height = picture.Height();
    image->texels.resize(size_t(image->width) * size_t(image->height));
    uint32_t* out = image->texels.data();
    for (int y = 0; y < image->height; ++y) {
        if (picture.PixelFormat() == TPixelFormat::pf32bit) {
            const uint8_t* row = picture.ScanLine(y);
            for (int x = 0; x < image->width; ++x)
                *out++ = 0xFF000000u | (uint32_t{row[x * 4 + 2]} << 16) | (uint32_t{row[x * 4 + 1]} << 8) | row[x * 4];
        } else if (picture.PixelFormat() == TPixelFormat::pf24bit) {
            const uint8_t* row = picture.ScanLine(y);
            for (int x = 0; x < image->width; ++x)
                *out++ = 0xFF000000u | (uint32_t{row[x * 3 + 2]} << 16) | (uint32_t{row[x * 3 + 1]} << 8) | row[x * 3];
        } else {
            for (int x = 0; x < image->width; ++x) *out++ = 0xFF000000u | deviceColor(picture.Pixel(x, y));
        }
    }
    return image;
}

}  // namespace

std::shared_ptr<TDirectDrawSurface> TDirectDrawSurface::Create(const TBitmap& picture) {
    std::shared_ptr<TDirectDrawSurface> surface(new TDirectDrawSurface());
    surface->Assign(picture);
    return surface;
}

std::shared_ptr<TDirectDrawSurface> TDirectDrawSurface::Create(std::shared_ptr<const TTexelImage> texels) {
    if (texels) {
        checkSides(texels->width, texels->height);
        const bool matches = texels->width >= 0 && texels->height >= 0 &&
                             texels->texels.size() == size_t(texels->width) * size_t(texels->height);
        if (!matches) throw EGrottixError("Texture texels do not match its size");
    }
    std::shared_ptr<TDirectDrawSurface> surface(new TDirectDrawSurface());
    surface->image_ = texels && !texels->texels.empty() ? std::move(texels) : blackTexel();
    ++surface->version_;
    return surface;
}

void TDirectDrawSurface::Assign(const TBitmap& picture) {
    image_ = texelsOf(picture);
    ++version_;
}

void TDirectDrawSurface::SetColorKey(TColor color) {
    const uint32_t key = deviceColor(color);
    if (colorKey_ == key) return;
    colorKey_ = key;
    ++version_;
}

void TDirectDrawSurface::ClearColorKey() {
    if (!colorKey_) return;
    colorKey_.reset();
    ++version_;
}

TBitmap TDirectDrawSurface::ToBitmap() const {
    TBitmap bitmap(Width(), Height(), TPixelFormat::pf24bit);
    for (int y = 0; y < Height(); ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        const uint32_t* texels = image_->texels.data() + size_t(y) * size_t(Width());
        for (int x = 0; x < Width(); ++x) {
            row[x * 3] = uint8_t(texels[x]);
            row[x * 3 + 1] = uint8_t(texels[x] >> 8);
            row[x * 3 + 2] = uint8_t(texels[x] >> 16);
        }
    }
    return bitmap;
}

}  // namespace grottix
