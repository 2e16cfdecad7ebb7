#pragma once
// The run-length coding of 4- and 8-bit BMP files: runs, absolute runs, end of line, end of bitmap
// and position deltas. Rows come bottom-up; pixels that would fall outside the image are dropped.

#include <cstdint>
#include <span>

#include "codecs/Bitmap.h"

namespace grottix {

void DecodeBmpRle(std::span<const uint8_t> data, int bitsPerPixel, bool topDown, TBitmap& image);

}  // namespace grottix
