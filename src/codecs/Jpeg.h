#pragma once
// TJPEGImage: JPEG reading and writing through libjpeg(-turbo). Images decode to 24 bits per pixel;
// anything else is brought to 24 bits before it is compressed.

#include "codecs/Bitmap.h"
#include "codecs/PictureFormats.h"

namespace grottix {

// A JPEG stream libjpeg refused; the message is libjpeg's own.
class EJPEG : public EInvalidGraphic {
public:
    using EInvalidGraphic::EInvalidGraphic;
};

class TJPEGImage : public TBitmap {
public:
    static const TGraphicClass& ClassInfo();
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

    int CompressionQuality() const { return quality_; }
    void SetCompressionQuality(int quality) { quality_ = quality; }

private:
    int quality_ = 90;
};

// Decodes a whole JPEG file held in memory.
TBitmap DecodeJpeg(const uint8_t* data, size_t size);

TUnitRegistration& JpegUnit();

}  // namespace grottix
