#pragma once
// A colour-keyed tile with its key turned into alpha, for an image other tools read as cut-out:
// black texels, which the viewer leaves out, get alpha 0 and every other texel alpha 255.
//
// Those tools filter and mipmap the colour of clear texels along with the rest, so a clear texel
// left black would darken the edges of what it surrounds. Each clear texel next to an opaque one
// takes the mean colour of its opaque neighbours, and that colour grows outward a few texels the
// same way; clear texels further from any opaque one take the tile's mean opaque colour.

#include <cstdint>
#include <vector>

namespace grottix {

class TBitmap;

// Whether the tile (24 bits a pixel) holds a black texel.
bool HasKeyedTexels(const TBitmap& tile);

// The tile (24 bits a pixel: blue, green, red) as rows of red, green, blue and alpha, top-down.
std::vector<uint8_t> KeyedTileRgba(const TBitmap& tile);

}  // namespace grottix
