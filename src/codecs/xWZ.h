#pragma once
// TWZ1Bitmap and TWZ2Bitmap: two run-length coded 8-bit formats. Both have a 4-byte size, a 1024-byte
// palette (red, green, blue, flag) and pairs of (run length, palette index), rows top to bottom.
// WZ1 runs stop at row ends; WZ2 runs go on across them, and column 0 of every row after the first is
// not coded: it repeats the run that reached the end of the row above.

#include <cstdint>
#include <span>
#include <vector>

#include "codecs/Bitmap.h"
#include "codecs/PictureFormats.h"

namespace grottix {

// Collects decoded rows and turns them into an 8-bit image.
class TWZ {
public:
    enum class TVariant { WZ1, WZ2 };

    // Decodes a whole file held in memory.
    static TBitmap Decode(std::span<const uint8_t> file, TVariant variant);
    static std::vector<uint8_t> Encode(const TBitmap& image, TVariant variant);
};

class TWZ1Bitmap : public TBitmap {
public:
    static const TGraphicClass& ClassInfo();
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
};

class TWZ2Bitmap : public TBitmap {
public:
    static const TGraphicClass& ClassInfo();
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
};

TUnitRegistration& WZUnit();

}  // namespace grottix
