#pragma once
// The platform bitmap's file format (BMP): a 14-byte file header, an information header, a palette
// for 1-, 4- and 8-bit images and the rows, bottom-up unless the height is negative, each padded to a
// multiple of 4 bytes. Read: core, info and V4/V5 headers; 1, 4, 8, 16, 24, 32 bits; uncompressed,
// RLE8, RLE4 and bit fields. Written: info header, uncompressed (16-bit as 5:6:5 bit fields).

#include <cstdint>
#include <span>
#include <vector>

#include "codecs/Bitmap.h"

namespace grottix {

// Decodes a whole BMP file held in memory into image; raises EInvalidGraphic
// ("Bitmap image is not valid") for anything it cannot read. Returns the bytes the file occupies.
size_t ReadBmp(std::span<const uint8_t> file, TBitmap& image);
std::vector<uint8_t> WriteBmp(const TBitmap& image);

}  // namespace grottix
