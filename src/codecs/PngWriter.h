#pragma once
// PNG files written by libpng: any bitmap as 8-bit RGB, no transparency.

#include <cstdint>
#include <vector>

namespace grottix {

class TBitmap;

// The PNG file of the picture (converted to 24 bits a pixel first). level is zlib's compression
// level, 0 to 9. Raises "Cannot write the PNG image" (with libpng's reason) for an empty picture
// or when libpng fails.
std::vector<uint8_t> EncodePng(const TBitmap& picture, int level = 6);

}  // namespace grottix
