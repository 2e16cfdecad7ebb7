#pragma once
// A 256 x 256 texture tile as a PNG file, written by libpng with no row filter at zlib's fastest
// level: tiles are small, and Qt's writer, which tries every filter at a slow level, takes several
// times as long for files hardly smaller. Black, the tiles' colour key, is marked as the PNG's
// transparent colour (its tRNS chunk), so decoders give those texels alpha 0 and no alpha channel
// needs storing.

#include <cstdint>
#include <vector>

namespace grottix {

class TBitmap;

struct TTilePng {
    std::vector<uint8_t> bytes;
    bool keyed = false;  // the tile holds black texels, transparent in the PNG
};

// tile: 24 bits a pixel (blue, green, red). Raises when libpng fails.
TTilePng EncodeTilePng(const TBitmap& tile);

}  // namespace grottix
