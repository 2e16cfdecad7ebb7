#pragma once
// TBUPcx: PCX images of 1 bit (one plane), 4 bits (four 1-bit planes), 8 bits (one plane, with the
// 256-colour palette after the marker 12 at the end of the file) and 24 bits (three 8-bit planes).
// Unlike the other codecs it keeps its image in an internal bitmap; none means empty.

#include <array>
#include <memory>

#include "codecs/Bitmap.h"
#include "codecs/PictureFormats.h"

namespace grottix {

class TBUPcx : public TGraphic {
public:
    static constexpr int kHeaderSize = 128;

    TBUPcx() = default;
    TBUPcx(const TBUPcx& other) : TGraphic(other) { Assign(other); }
    TBUPcx& operator=(const TBUPcx& other) { Assign(other); return *this; }

    static const TGraphicClass& ClassInfo();
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

    // -1 when empty.
    int Width() const override { return bitmap_ ? bitmap_->Width() : -1; }
    int Height() const override { return bitmap_ ? bitmap_->Height() : -1; }
    bool Empty() const override { return !bitmap_; }
    void AssignTo(TBitmap& destination) const override;

    // A bitmap is copied in; another TBUPcx is copied by saving and loading; null empties.
    void Assign(const TBitmap* source);
    void Assign(const TBUPcx& source);

    // The internal image's palette (none when empty).
    std::vector<TPaletteEntry> Palette() const { return bitmap_ ? bitmap_->Palette() : std::vector<TPaletteEntry>(); }
    // Draws the image stretched over a rectangle of a canvas.
    void Draw(TBitmap& canvas, const TRect& rect) const {
        if (bitmap_) canvas.StretchDraw(rect, *bitmap_);
    }

    // The internal image, or null when empty.
    const TBitmap* Bitmap() const { return bitmap_.get(); }
    const std::array<uint8_t, kHeaderSize>& Header() const { return header_; }

private:
    std::unique_ptr<TBitmap> bitmap_;
    std::array<uint8_t, kHeaderSize> header_{};
    std::array<TPaletteEntry, 256> palette_{};
};

TUnitRegistration& PcxUnit();

}  // namespace grottix
