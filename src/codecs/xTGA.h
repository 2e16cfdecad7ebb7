#pragma once
// TTGABitmap: uncompressed true-colour Targa images of 24 or 32 bits per pixel, rows bottom-up,
// behind an 18-byte header. An identification field is never skipped and the image descriptor
// is not consulted: files are read exactly as this program writes them.

#include "codecs/Bitmap.h"
#include "codecs/PictureFormats.h"

namespace grottix {

class TTGABitmap : public TBitmap {
public:
    static const TGraphicClass& ClassInfo();
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
};

TUnitRegistration& TGAUnit();

}  // namespace grottix
