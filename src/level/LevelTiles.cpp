// A level's texture tiles as images: as texels for a texture, or as a bitmap one at a time.
// Black is the transparency key of every tile, so the conversion makes sure that only pixels meant
// to be transparent come out pure black.

#include <algorithm>
#include <charconv>
#include <vector>

#include "codecs/Bitmap.h"

#include "level/LevelNames.h"
#include "level/TileTexels.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr int kTileSide = 256;
constexpr size_t kTile8Bytes = 65536;
constexpr size_t kTile16Bytes = 131072;

bool usesPaletteTiles(const TTombRaiderLevel& level) { return level.VersionCode <= 2; }

// Tiles the level actually holds (the count, bounded by the tile bytes read).
int tileCount(const TTombRaiderLevel& level) {
    const size_t held = usesPaletteTiles(level) ? level.Tiles8.size() / kTile8Bytes : level.Tiles16.size() / kTile16Bytes;
    return int(std::clamp<int64_t>(level.TileCount, 0, int64_t(held)));
}

// Entry 0 is black; every other entry has each 6-bit component raised to at least 1, times 4.
std::vector<TPaletteEntry> tilePalette(const std::array<uint8_t, 768>& palette) {
    std::vector<TPaletteEntry> entries(256);
    const auto component = [&](size_t at) { return uint8_t(std::max(1, palette[at] & 0x3F) * 4); };
    for (size_t i = 1; i < 256; ++i) entries[i] = {component(i * 3), component(i * 3 + 1), component(i * 3 + 2)};
    return entries;
}

// Fills a 256 x 256 tile image with tile number k (1-based): 8-bit with the level's palette for
// codes 1-2, 5:6:5 after the fix-up for codes 3-7.
void fillTile(const TTombRaiderLevel& level, int k, TBitmap& tile) {
    if (usesPaletteTiles(level)) {
        const uint8_t* source = level.Tiles8.data() + size_t(k - 1) * kTile8Bytes;
        std::copy_n(source, kTile8Bytes, tile.ScanLine(0));
        return;
    }
    const uint8_t* source = level.Tiles16.data() + size_t(k - 1) * kTile16Bytes;
    uint8_t* out = tile.ScanLine(0);
    for (size_t i = 0; i < kTile16Bytes; i += 2) {
        const uint16_t fixed = FixTilePixel(uint16_t(source[i] | (source[i + 1] << 8)));
        out[i] = uint8_t(fixed);
        out[i + 1] = uint8_t(fixed >> 8);
    }
}

std::array<uint32_t, 256> texelPalette(const std::vector<TPaletteEntry>& entries) {
    std::array<uint32_t, 256> texels{};
    for (size_t i = 0; i < entries.size() && i < texels.size(); ++i)
        texels[i] = 0xFF000000u | (uint32_t{entries[i].red} << 16) | (uint32_t{entries[i].green} << 8) |
                    entries[i].blue;
    return texels;
}

TBitmap blankTile(const TTombRaiderLevel& level) {
    if (!usesPaletteTiles(level)) return TBitmap(kTileSide, kTileSide, TPixelFormat::pf16bit);
    TBitmap tile(kTileSide, kTileSide, TPixelFormat::pf8bit);
    tile.SetPalette(tilePalette(level.Palette8));
    return tile;
}

}  // namespace

int TTombRaiderLevel::TilesHeld() const { return tileCount(*this); }

void TTombRaiderLevel::TileTexels(int k, uint32_t* out) const {
    if (k <= 0 || k > tileCount(*this)) return;
    constexpr size_t texels = size_t(kTileSide) * kTileSide;
    if (usesPaletteTiles(*this))
        ConvertTileTexels8(Tiles8.data() + size_t(k - 1) * kTile8Bytes, texels, texelPalette(tilePalette(Palette8)).data(), out);
    else
        ConvertTileTexels16(Tiles16.data() + size_t(k - 1) * kTile16Bytes, texels, out);
}

std::unique_ptr<TBitmap> TTombRaiderLevel::GetTileBitmap(const std::string& entry) const {
    const int k = LevelTileNumber(entry);
    if (k <= 0 || k > tileCount(*this)) return nullptr;
    auto tile = std::make_unique<TBitmap>(blankTile(*this));
    fillTile(*this, k, *tile);
    // Palette tiles go through 16 bits as well, so both kinds of level give the same depth of colour.
    tile->SetPixelFormat(TPixelFormat::pf16bit);
    tile->SetPixelFormat(TPixelFormat::pf24bit);
    return tile;
}

}  // namespace grottix
