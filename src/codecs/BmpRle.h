#pragma once
// The run-length coding of 4- and 8-bit BMP files: runs, absolute runs, end of line, end of bitmap
// and position deltas. Rows come bottom-up; pixels that would fall outside the image are dropped.

#include <cstdint>
#include <span>

#include "codecs/Bitmap.h"

namespace grottix {

// Returns false when the data ends before the last row is reached (before its end-of-bitmap marker,
// and with rows still to fill).
bool DecodeBmpRle(std::span<const uint8_t> data, int bitsPerPixel, bool topDown, TBitmap& image);

}  // namespace grottix
