#include "import/WaterTint.h"

namespace grottix {

uint32_t WaterTint(int versionCode) {
    switch (versionCode) {
    case 1:
    case 2: return 0x0080E0FF;  // Tomb Raider: a clear cyan
    case 3:
    case 4: return 0x0090D0FF;  // Tomb Raider II: a deeper blue
    case 5: return 0x0090E8D8;  // Tomb Raider III: a greener blue
    default: return 0x0098D8F0;  // The Last Revelation and Chronicles: a muted blue-green
    }
}

uint32_t TintColour(uint32_t colour, uint32_t tint) {
    uint32_t out = colour & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t c = (colour >> shift) & 0xFF, t = (tint >> shift) & 0xFF;
        out |= ((c * t + 127) / 255) << shift;
    }
    return out;
}

uint32_t UnderwaterViewTint(int versionCode) { return TintColour(WaterTint(versionCode), 0x00D0D0D0); }

}  // namespace grottix
