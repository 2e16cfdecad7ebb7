#pragma once
// PNG files written by libpng: any bitmap as 8-bit RGB, or rows laid out by the caller (RGB or RGBA,
// with or without row filters).

#include <cstdint>
#include <functional>
#include <vector>

namespace grottix {

class TBitmap;

// Rows to write: height rows of width pixels, each row handed out by Row.
struct TPngRows {
    int Width = 0, Height = 0;
    // 4 bytes a pixel, red, green, blue, alpha (colour type 6); otherwise 3 bytes a pixel stored blue,
    // green, red as TBitmap keeps them (colour type 2).
    bool Alpha = false;
    // No row filters: much faster to write, hardly larger for pictures like texture tiles.
    bool Unfiltered = false;
    int Level = 6;  // zlib's compression level, 0 to 9
    std::function<const uint8_t*(int y)> Row;
};

// Raises "Cannot write the PNG image" (with libpng's reason) for no rows or when libpng fails.
std::vector<uint8_t> EncodePngRows(const TPngRows& rows);

// The PNG file of the picture (converted to 24 bits a pixel first), RGB.
std::vector<uint8_t> EncodePng(const TBitmap& picture, int level = 6);

}  // namespace grottix
