#include "codecs/Bitmap.h"

#include <algorithm>
#include <climits>

#include "storage/Exceptions.h"

namespace grottix {

int BitsPerPixel(TPixelFormat format) { return static_cast<int>(format); }

int TBitmap::RowBytes(int width, TPixelFormat format) {
    return static_cast<int>((int64_t{width} * BitsPerPixel(format) + 7) / 8);
}

TBitmap::TBitmap(int width, int height, TPixelFormat format) : format_(format) { SetSize(width, height); }

void TBitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0 || width > kMaxDimension || height > kMaxDimension ||
        uint64_t(RowBytes(width, format_)) * uint64_t(height) > kMaxBytes)
        throw EGrottixError("Image too large");
    if (width == width_ && height == height_) return;
    TBitmap resized;
    resized.format_ = format_;
    resized.width_ = width;
    resized.height_ = height;
    resized.pixels_.assign(size_t(RowBytes(width, format_)) * size_t(height), 0);
    resized.palette_ = palette_;
    resized.CopyRect(0, 0, *this, 0, 0, width_, height_);
    *this = std::move(resized);
}

void TBitmap::SetPalette(std::vector<TPaletteEntry> palette) {
    palette.resize(std::min<size_t>(palette.size(), 256));
    palette_ = std::move(palette);
}

uint8_t TBitmap::PixelIndex(int x, int y) const {
    const uint8_t* row = ScanLine(y);
    switch (format_) {
        case TPixelFormat::pf1bit: return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case TPixelFormat::pf4bit: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
        case TPixelFormat::pf8bit: return row[x];
        default: return nearestPaletteIndex(Pixel(x, y));
    }
}

TColor TBitmap::Pixel(int x, int y) const {
    const uint8_t* row = ScanLine(y);
    switch (format_) {
        case TPixelFormat::pf16bit: {
            const unsigned p = row[x * 2] | (row[x * 2 + 1] << 8);
            const unsigned r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
            return RGB(uint8_t((r << 3) | (r >> 2)), uint8_t((g << 2) | (g >> 4)), uint8_t((b << 3) | (b >> 2)));
        }
        case TPixelFormat::pf24bit: return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
        case TPixelFormat::pf32bit: return RGB(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
        default: {
            const uint8_t index = PixelIndex(x, y);
            if (index >= palette_.size()) return 0;
            const TPaletteEntry& e = palette_[index];
            return RGB(e.red, e.green, e.blue);
        }
    }
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    uint8_t* row = ScanLine(y);
    const uint8_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    switch (format_) {
        case TPixelFormat::pf16bit: {
            const unsigned p = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
            row[x * 2] = uint8_t(p);
            row[x * 2 + 1] = uint8_t(p >> 8);
            return;
        }
        case TPixelFormat::pf24bit: row[x * 3] = b; row[x * 3 + 1] = g; row[x * 3 + 2] = r; return;
        case TPixelFormat::pf32bit: row[x * 4] = b; row[x * 4 + 1] = g; row[x * 4 + 2] = r; return;
        default: break;
    }
    const uint8_t index = nearestPaletteIndex(color);
    switch (format_) {
        case TPixelFormat::pf1bit: {
            const uint8_t mask = uint8_t(0x80 >> (x & 7));
            row[x >> 3] = uint8_t((row[x >> 3] & ~mask) | (index & 1 ? mask : 0));
            return;
        }
        case TPixelFormat::pf4bit: {
            const int shift = (x & 1) ? 0 : 4;
            row[x >> 1] = uint8_t((row[x >> 1] & ~(0x0F << shift)) | ((index & 0x0F) << shift));
            return;
        }
        default: row[x] = index; return;
    }
}

uint8_t TBitmap::nearestPaletteIndex(TColor color) const {
    int best = 0;
    int bestDistance = INT_MAX;
    for (size_t i = 0; i < palette_.size(); ++i) {
        const int dr = palette_[i].red - GetRValue(color);
        const int dg = palette_[i].green - GetGValue(color);
        const int db = palette_[i].blue - GetBValue(color);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = int(i);
            if (distance == 0) break;
        }
    }
    return uint8_t(best);
}

namespace {

// A 3-3-2 palette for images brought down from true colour without a palette of their own.
std::vector<TPaletteEntry> uniformPalette(int entries) {
    std::vector<TPaletteEntry> palette(static_cast<size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        if (entries == 256) {
            palette[size_t(i)] = {uint8_t((i >> 5) * 255 / 7), uint8_t(((i >> 2) & 7) * 255 / 7), uint8_t((i & 3) * 255 / 3)};
        } else {
            const auto grey = uint8_t(i * 255 / (entries - 1));
            palette[size_t(i)] = {grey, grey, grey};
        }
    }
    return palette;
}

bool isIndexed(TPixelFormat f) { return BitsPerPixel(f) <= 8; }

}  // namespace

namespace {

// Row converters from 8 (palette), 16 (5:6:5), 24 and 32 bits to 24 or 32 bits, a row at a time.
void widenRow(const uint8_t* in, TPixelFormat from, const std::vector<TPaletteEntry>& palette, uint8_t* out, int outBytes,
              int width) {
    for (int x = 0; x < width; ++x, out += outBytes) {
        uint8_t r = 0, g = 0, b = 0;
        switch (from) {
            case TPixelFormat::pf8bit:
                if (in[x] < palette.size()) {
                    r = palette[in[x]].red;
                    g = palette[in[x]].green;
                    b = palette[in[x]].blue;
                }
                break;
            case TPixelFormat::pf16bit: {
                const unsigned p = in[x * 2] | (in[x * 2 + 1] << 8);
                const unsigned r5 = (p >> 11) & 31, g6 = (p >> 5) & 63, b5 = p & 31;
                r = uint8_t((r5 << 3) | (r5 >> 2));
                g = uint8_t((g6 << 2) | (g6 >> 4));
                b = uint8_t((b5 << 3) | (b5 >> 2));
                break;
            }
            case TPixelFormat::pf24bit: b = in[x * 3]; g = in[x * 3 + 1]; r = in[x * 3 + 2]; break;
            default: b = in[x * 4]; g = in[x * 4 + 1]; r = in[x * 4 + 2]; break;
        }
        out[0] = b;
        out[1] = g;
        out[2] = r;
    }
}

bool widenable(TPixelFormat from, TPixelFormat to) {
    return (to == TPixelFormat::pf24bit || to == TPixelFormat::pf32bit) &&
           (from == TPixelFormat::pf8bit || from == TPixelFormat::pf16bit || from == TPixelFormat::pf24bit ||
            from == TPixelFormat::pf32bit);
}

}  // namespace

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    if (widenable(format_, format)) {
        TBitmap converted(width_, height_, format);
        for (int y = 0; y < height_; ++y)
            widenRow(ScanLine(y), format_, palette_, converted.ScanLine(y), BitsPerPixel(format) / 8, width_);
        *this = std::move(converted);
        return;
    }
    TBitmap converted;
    converted.format_ = format;
    converted.width_ = width_;
    converted.height_ = height_;
    converted.pixels_.assign(size_t(RowBytes(width_, format)) * size_t(height_), 0);
    if (isIndexed(format)) {
        converted.palette_ = palette_.empty() || !isIndexed(format_) ? uniformPalette(1 << BitsPerPixel(format)) : palette_;
        converted.palette_.resize(std::min<size_t>(converted.palette_.size(), size_t(1) << BitsPerPixel(format)));
    }
    const bool keepIndices = isIndexed(format_) && isIndexed(format) && BitsPerPixel(format) >= BitsPerPixel(format_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (keepIndices) {
                const uint8_t index = PixelIndex(x, y);
                uint8_t* row = converted.ScanLine(y);
                if (format == TPixelFormat::pf8bit) row[x] = index;
                else row[x >> 1] = uint8_t(row[x >> 1] | (index << ((x & 1) ? 0 : 4)));
            } else {
                converted.SetPixel(x, y, Pixel(x, y));
            }
        }
    }
    *this = std::move(converted);
}

void TBitmap::Rectangle(int left, int top, int right, int bottom, int penWidth, TColor pen, TColor brush) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const bool edge = x < left + penWidth || x >= right - penWidth || y < top + penWidth || y >= bottom - penWidth;
            SetPixel(x, y, edge ? pen : brush);
        }
    }
}

void TBitmap::CopyRect(int x, int y, const TBitmap& source, int srcLeft, int srcTop, int width, int height) {
    if (source.format_ != format_) {
        TBitmap same = source;
        same.SetPixelFormat(format_);
        CopyRect(x, y, same, srcLeft, srcTop, width, height);
        return;
    }
    // Clip against both images.
    if (srcLeft < 0) { x -= srcLeft; width += srcLeft; srcLeft = 0; }
    if (srcTop < 0) { y -= srcTop; height += srcTop; srcTop = 0; }
    if (x < 0) { srcLeft -= x; width += x; x = 0; }
    if (y < 0) { srcTop -= y; height += y; y = 0; }
    width = std::min({width, source.width_ - srcLeft, width_ - x});
    height = std::min({height, source.height_ - srcTop, height_ - y});
    if (width <= 0 || height <= 0) return;
    const int bits = BitsPerPixel(format_);
    if (bits >= 8) {
        const size_t bytes = size_t(width) * size_t(bits / 8);
        for (int row = 0; row < height; ++row)
            std::copy_n(source.ScanLine(srcTop + row) + size_t(srcLeft) * size_t(bits / 8), bytes,
                        ScanLine(y + row) + size_t(x) * size_t(bits / 8));
        return;
    }
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            const uint8_t index = source.PixelIndex(srcLeft + col, srcTop + row);
            uint8_t* line = ScanLine(y + row);
            const int px = x + col;
            if (bits == 4) {
                const int shift = (px & 1) ? 0 : 4;
                line[px >> 1] = uint8_t((line[px >> 1] & ~(0x0F << shift)) | (index << shift));
            } else {
                const uint8_t mask = uint8_t(0x80 >> (px & 7));
                line[px >> 3] = uint8_t((line[px >> 3] & ~mask) | (index ? mask : 0));
            }
        }
}

void TBitmap::StretchDraw(const TRect& destRect, const TBitmap& source, const TRect& sourceRect) {
    if (source.format_ != format_) {
        TBitmap same = source;
        same.SetPixelFormat(format_);
        StretchDraw(destRect, same, sourceRect);
        return;
    }
    const int64_t destW = destRect.Width(), destH = destRect.Height();
    const int64_t srcW = sourceRect.Width(), srcH = sourceRect.Height();
    if (destW <= 0 || destH <= 0 || srcW <= 0 || srcH <= 0) return;
    const int bits = BitsPerPixel(format_);
    const int x0 = std::max(destRect.Left, 0), x1 = std::min(destRect.Right, width_);
    const int y0 = std::max(destRect.Top, 0), y1 = std::min(destRect.Bottom, height_);
    for (int y = y0; y < y1; ++y) {
        const int64_t sy = sourceRect.Top + (y - destRect.Top) * srcH / destH;
        if (sy < 0 || sy >= source.height_) continue;
        for (int x = x0; x < x1; ++x) {
            const int64_t sx = sourceRect.Left + (x - destRect.Left) * srcW / destW;
            if (sx < 0 || sx >= source.width_) continue;
            if (bits >= 8) {
                const size_t bytes = size_t(bits / 8);
                std::copy_n(source.ScanLine(int(sy)) + size_t(sx) * bytes, bytes, ScanLine(y) + size_t(x) * bytes);
            } else {
                CopyRect(x, y, source, int(sx), int(sy), 1, 1);
            }
        }
    }
}

}  // namespace grottix
