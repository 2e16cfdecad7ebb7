#pragma once
// Level texture tiles converted in one pass into the texels device textures hold (0xFFRRGGBB words,
// DirectDrawSurface.h), with the fix-up that keeps only transparent texels black.

#include <cstddef>
#include <cstdint>

namespace grottix {

// A 1:5:5:5 texel as 5:6:5 (the 5-bit green in the upper five bits of the 6-bit field). Opaque
// texels, and transparent ones with no channel 0, get every channel of at least 2, so no opaque
// texel comes out black; 0x0000 stays black.
uint16_t FixTilePixel(uint16_t pixel);

// count 1:5:5:5 texels (two bytes each, low byte first) after the fix-up, each widened to eight bits
// per channel as a 5:6:5 picture is widened.
void ConvertTileTexels16(const uint8_t* source, size_t count, uint32_t* out);

// count palette indices, each replaced by its palette entry (0xFFRRGGBB).
void ConvertTileTexels8(const uint8_t* source, size_t count, const uint32_t* palette, uint32_t* out);

}  // namespace grottix
