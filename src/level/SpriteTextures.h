#pragma once
// Sprite textures: the pictures of room sprites and sprite sequences, 16 bytes each.
//
// Codes 1-5 store the texel rectangle as its top-left corner (two bytes) and its size in 8.8 fixed
// point with the low byte 255 (a 64-texel side is 64 * 256 - 1), followed by the sprite's extents
// in level units around the point it stands on (left, top, right, bottom; y grows downwards).
// Codes 6-7 keep the texel rectangle in the four 16-bit fields instead (left, top, right, bottom
// texel, inclusive) and store no extents, so the sprite gets kUnitsPerSpriteTexel level units per
// texel, centred over its point and standing on it.

#include <cstdint>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

constexpr int kUnitsPerSpriteTexel = 8;

struct TSpriteTexture {
    uint16_t tile = 0;              // 0-based
    int left = 0, top = 0;          // texel rectangle in the tile
    int width = 0, height = 0;
    int extentLeft = 0, extentTop = 0, extentRight = 0, extentBottom = 0;  // level units
};

std::vector<TSpriteTexture> ReadSpriteTextures(const TTombRaiderLevel& level);

}  // namespace grottix
