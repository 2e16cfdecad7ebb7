#pragma once
// TZBitmap: a BMP file, delta-coded row by row (8 and 24 bits per pixel), compressed with zlib and
// followed by its uncompressed length as a 4-byte trailer. The trailer is the last four bytes of the
// stream, so a zBitmap must be the last thing in the stream it is read from.

#include "codecs/Bitmap.h"
#include "codecs/PictureFormats.h"

namespace grottix {

class TZBitmap : public TBitmap {
public:
    static const TGraphicClass& ClassInfo();
    void LoadFromStream(TStream& stream) override;
    // Brings the object itself to 24 bits first unless it has 1, 4 or 8 bits per pixel.
    void SaveToStream(TStream& stream) override;
};

TUnitRegistration& ZBitmapUnit();

}  // namespace grottix
