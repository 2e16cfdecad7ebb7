#pragma once
// TBitmap: the in-memory image every codec reads into and writes from. Rows are addressed top-down
// and stored without padding; 24-bit pixels are blue, green, red; 32-bit blue, green, red, x;
// 16-bit pixels are 5:6:5 (red in the top bits); 1-, 4- and 8-bit pixels index the palette
// (1- and 4-bit rows pack the leftmost pixel in the high bits).

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "codecs/Graphic.h"

namespace grottix {

enum class TPixelFormat { pf1bit = 1, pf4bit = 4, pf8bit = 8, pf16bit = 16, pf24bit = 24, pf32bit = 32 };

int BitsPerPixel(TPixelFormat format);

struct TPaletteEntry {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const TPaletteEntry&) const = default;
};

// A colour value: red in the low byte, green in the second, blue in the third.
using TColor = uint32_t;
constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (uint32_t{b} << 16); }
constexpr uint8_t GetRValue(TColor c) { return c & 0xFF; }
constexpr uint8_t GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr uint8_t GetBValue(TColor c) { return (c >> 16) & 0xFF; }

// A rectangle [Left, Right) x [Top, Bottom).
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

class TBitmap : public TGraphic {
public:
    // Sizes beyond these are refused (EGrottixError) rather than allocated.
    static constexpr int kMaxDimension = 65536;
    static constexpr uint64_t kMaxBytes = uint64_t{1} << 30;

    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format);
    virtual ~TBitmap() = default;
    TBitmap(const TBitmap&) = default;
    TBitmap& operator=(const TBitmap&) = default;
    TBitmap(TBitmap&&) = default;
    TBitmap& operator=(TBitmap&&) = default;

    int Width() const final { return width_; }
    int Height() const final { return height_; }
    bool Empty() const final { return width_ == 0 || height_ == 0; }
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    // Resizes keeping the pixels that stay inside; new pixels are zero.
    void SetSize(int width, int height);

    TPixelFormat PixelFormat() const { return format_; }
    // Converts every pixel: to 16, 24 or 32 bits keeps each pixel's colour; 1 or 4 to 8 bits keeps
    // indices and palette; a deeper image to 8 bits or fewer maps colours to the nearest palette entry.
    void SetPixelFormat(TPixelFormat format);

    int BytesPerRow() const { return RowBytes(width_, format_); }
    static int RowBytes(int width, TPixelFormat format);
    uint8_t* ScanLine(int row) { return pixels_.data() + std::size_t(row) * std::size_t(BytesPerRow()); }
    const uint8_t* ScanLine(int row) const { return pixels_.data() + std::size_t(row) * std::size_t(BytesPerRow()); }
    std::vector<uint8_t>& Pixels() { return pixels_; }
    const std::vector<uint8_t>& Pixels() const { return pixels_; }

    const std::vector<TPaletteEntry>& Palette() const { return palette_; }
    void SetPalette(std::vector<TPaletteEntry> palette);

    // The colour of one pixel, whatever the format.
    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);
    // Palette index of one pixel (formats of 8 bits or fewer).
    uint8_t PixelIndex(int x, int y) const;

    void Assign(const TBitmap& source) { *this = source; }
    // Takes a decoded image over without copying its pixels.
    void Assign(TBitmap&& source) { TBitmap::operator=(std::move(source)); }
    // Copies any graphic in (size, format, pixels, palette).
    void Assign(const TGraphic& source) { source.AssignTo(*this); }
    void AssignTo(TBitmap& destination) const override { destination.TBitmap::operator=(*this); }

    // The platform bitmap's own format: a BMP file (file header, info header, palette, padded rows).
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

    // Draws source's sourceRect scaled (nearest pixel) onto destRect of this image, converting
    // to this image's format; parts outside this image are clipped.
    void StretchDraw(const TRect& destRect, const TBitmap& source, const TRect& sourceRect);
    void StretchDraw(const TRect& destRect, const TBitmap& source) {
        StretchDraw(destRect, source, {0, 0, source.Width(), source.Height()});
    }

    // Fills [left, right) x [top, bottom) with brush and outlines it penWidth pixels wide with pen.
    void Rectangle(int left, int top, int right, int bottom, int penWidth, TColor pen, TColor brush);
    // Copies a rectangle of source (same format) to (x, y); parts outside either image are clipped.
    void CopyRect(int x, int y, const TBitmap& source, int srcLeft, int srcTop, int width, int height);

private:
    uint8_t nearestPaletteIndex(TColor color) const;

    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = TPixelFormat::pf24bit;
    std::vector<uint8_t> pixels_;
    std::vector<TPaletteEntry> palette_;
};

}  // namespace grottix
