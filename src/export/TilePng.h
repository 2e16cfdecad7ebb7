#pragma once
// A 256 x 256 texture tile as a PNG file, written by libpng with no row filter at zlib's fastest
// level: tiles are small, and Qt's writer, which tries every filter at a slow level, takes several
// times as long for files hardly smaller. A tile that holds black, the tiles' colour key, is written
// with an alpha channel (KeyedTileAlpha): many tools ignore a PNG's transparent colour (its tRNS
// chunk) and would show the key as black. Opaque tiles stay RGB.

#include <cstdint>
#include <vector>

namespace grottix {

class TBitmap;

struct TTilePng {
    std::vector<uint8_t> bytes;
    bool keyed = false;  // the tile holds black texels: RGBA, those texels clear
};

// tile: 24 bits a pixel (blue, green, red). Raises when libpng fails.
TTilePng EncodeTilePng(const TBitmap& tile);

}  // namespace grottix
