#include "engine/TextureImages.h"

#include <algorithm>

#include "engine/EngineTypes.h"

namespace grottix {

std::optional<TColor> BuiltInColor(const std::string& name) {
    if (SameTextIgnoringCase(name, "black")) return RGB(0, 0, 0);
    if (SameTextIgnoringCase(name, "white")) return RGB(255, 255, 255);
    for (int n = 1; n <= 15; ++n) {
        const auto level = uint8_t(16 * n);
        if (SameTextIgnoringCase(name, "gray" + std::to_string(n))) return RGB(level, level, level);
    }
    return std::nullopt;
}

TBitmap SolidImage(TColor color) {
    TBitmap image(2, 2, TPixelFormat::pf24bit);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) image.SetPixel(x, y, color);
    return image;
}

void TileToSquare(TBitmap& image) {
    const int width = image.Width(), height = image.Height();
    if (width == height || image.Empty()) return;
    const int side = std::max(width, height);
    TBitmap square(side, side, image.PixelFormat());
    square.SetPalette(image.Palette());
    if (width > height) {
        for (int top = 0; top < side; top += height) square.CopyRect(0, top, image, 0, 0, width, height);
    } else {
        for (int left = 0; left < side; left += width) square.CopyRect(left, 0, image, 0, 0, width, height);
    }
    image.SetSize(side, side);
    image.CopyRect(0, 0, square, 0, 0, side - 1, side - 1);
}

int FittedSide(int width, int height) {
    const auto isFittedSide = [](int side) { return side >= 2 && side <= 1024 && (side & (side - 1)) == 0; };
    if (width == height && isFittedSide(width)) return 0;
    const int target = std::max(width, height);
    if (target > 512) return 1024;
    int side = 2;
    while (side < target) side *= 2;
    return side;
}

void FitToSquare(TBitmap& bitmap, bool redraw) {
    if (bitmap.Empty()) return;
    const int side = FittedSide(bitmap.Width(), bitmap.Height());
    if (side == 0) return;
    const TBitmap before = redraw ? bitmap : TBitmap();
    bitmap.SetSize(side, side);
    if (redraw) bitmap.StretchDraw({0, 0, side, side}, before, {0, 0, before.Width() - 1, before.Height() - 1});
}

namespace {

// An empty image of the same pixel format and palette.
TBitmap blankLike(const TBitmap& image, int width, int height) {
    TBitmap blank(width, height, image.PixelFormat());
    blank.SetPalette(image.Palette());
    return blank;
}

// Quality modes 1 and 2: stretch to (w + f/2) div f, then keep the top-left (w div f) x (h div f).
void shrink(TBitmap& image, int factor) {
    const int width = image.Width(), height = image.Height();
    TBitmap smaller = blankLike(image, (width + factor / 2) / factor, (height + factor / 2) / factor);
    smaller.StretchDraw({0, 0, smaller.Width(), smaller.Height()}, image);
    smaller.SetSize(width / factor, height / factor);
    image = std::move(smaller);
}

// Quality mode 3: the image stretched over a (fitted) bitmap of twice its size, of which the
// top-left 2w x 2h are kept, smoothed.
void enlarge(TBitmap& image, bool fitSizes) {
    const int width = 2 * image.Width(), height = 2 * image.Height();
    TBitmap larger = blankLike(image, width, height);
    if (fitSizes) FitToSquare(larger, false);
    larger.StretchDraw({0, 0, larger.Width(), larger.Height()}, image);
    image.SetSize(width, height);
    image.CopyRect(0, 0, larger, 0, 0, width, height);
    Smooth(image);
}

}  // namespace

void ApplyTextureQuality(TBitmap& image, int quality, bool fitSizes) {
    switch (quality) {
        case 1: shrink(image, 2); break;
        case 2: shrink(image, 4); break;
        case 3: enlarge(image, fitSizes); return;
        case 4: {
            TBitmap tiny = blankLike(image, 2, 2);
            tiny.StretchDraw({0, 0, 2, 2}, image);
            image = std::move(tiny);
            return;
        }
        default: break;
    }
    if (fitSizes) FitToSquare(image, true);
}

void Smooth(TBitmap& image) {
    image.SetPixelFormat(TPixelFormat::pf24bit);
    const TBitmap source = image;
    for (int y = 0; y + 1 < image.Height(); ++y) {
        const uint8_t* above = source.ScanLine(y);
        const uint8_t* below = source.ScanLine(y + 1);
        uint8_t* out = image.ScanLine(y);
        for (int x = 0; x + 1 < image.Width(); ++x) {
            const int at = x * 3;
            if (above[at] == 0 || above[at + 1] == 0 || above[at + 2] == 0) continue;
            for (int c = at; c < at + 3; ++c) out[c] = uint8_t((above[c] + above[c + 3] + below[c] + below[c + 3]) / 4);
        }
    }
}

void RaiseDarkBytes(TBitmap& image) {
    if (image.PixelFormat() != TPixelFormat::pf24bit && image.PixelFormat() != TPixelFormat::pf32bit)
        image.SetPixelFormat(TPixelFormat::pf24bit);
    const int bytesPerPixel = image.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* row = image.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x)
            for (int c = 0; c < 3; ++c) row[x * bytesPerPixel + c] = std::max<uint8_t>(row[x * bytesPerPixel + c], 8);
    }
}

namespace {
bool isLowDepth(TPixelFormat format) { return format == TPixelFormat::pf1bit || format == TPixelFormat::pf4bit; }
bool isTrueColor(TPixelFormat format) { return format == TPixelFormat::pf24bit || format == TPixelFormat::pf32bit; }
}  // namespace

void PrepareLoadedImageFormat(TBitmap& image, bool keepBlack) {
    if (isLowDepth(image.PixelFormat())) image.SetPixelFormat(keepBlack ? TPixelFormat::pf8bit : TPixelFormat::pf24bit);
    else if (!isTrueColor(image.PixelFormat())) image.SetPixelFormat(TPixelFormat::pf24bit);
    if (!keepBlack) RaiseDarkBytes(image);
}

void PrepareRegisteredBitmapFormat(TBitmap& bitmap) {
    if (isLowDepth(bitmap.PixelFormat())) bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    else if (!isTrueColor(bitmap.PixelFormat())) bitmap.SetPixelFormat(TPixelFormat::pf24bit);
}

}  // namespace grottix
