#pragma once
// Procedural textures of the demo level, painted into 256 x 256 tiles of 8-bit RGB texels.
// Black (0, 0, 0) is the transparent colour; painted opaque texels are never pure black.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace grottix::demo {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
};

// Where one texture sits: tile index and texel rectangle.
struct TexturePlace {
    uint16_t tile = 0;
    uint8_t left = 0, top = 0, right = 0, bottom = 0;  // inclusive texel bounds
    bool transparent = false;
};

enum class DemoTexture { Stone, Brick, Wood, Grass, Water, Crate, Plant, Marble, Count };

struct DemoTiles {
    int count = 0;
    std::vector<Rgb> texels;  // count x 256 x 256, tile after tile
    std::array<TexturePlace, size_t(DemoTexture::Count)> places{};
};

DemoTiles PaintDemoTiles();

// The same texels in each on-disk form.
std::vector<uint8_t> Tiles16(const DemoTiles& tiles);                                 // ARGB 1:5:5:5
std::vector<uint8_t> Tiles32(const DemoTiles& tiles);                                 // BGRA
void Tiles8(const DemoTiles& tiles, std::vector<uint8_t>& indices, std::array<uint8_t, 768>& palette);

}  // namespace grottix::demo
