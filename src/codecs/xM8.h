#pragma once
// TM8Bitmap: the 8-bit mipmapped texture format of Heretic II. A 1040-byte header with sixteen mip
// levels and a 256-colour palette, then palette indices. Only level 0 is read and one level is
// written. Loaded images never use index 0: it and every pure black palette entry become the
// darkest non-black colour of the palette.

#include <vector>

#include "codecs/Bitmap.h"
#include "codecs/PictureFormats.h"

namespace grottix {

class TM8Bitmap : public TBitmap {
public:
    static const TGraphicClass& ClassInfo();
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
};

// Brings any image to 8 bits per pixel as the M8 writer needs: 1 and 4 bits keep their indices,
// 8 bits stay as they are, and anything else is quantised to at most 256 colours.
void ReduceToM8Palette(TBitmap& image);

// The palette index the M8 loader substitutes for index 0 (entries 1 to 255 are looked at).
int DarkestPaletteIndex(const std::vector<TPaletteEntry>& palette);

TUnitRegistration& M8Unit();

}  // namespace grottix
