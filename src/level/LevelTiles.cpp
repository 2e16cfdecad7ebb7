// A level's texture tiles as images: registered as scene textures, or handed out one at a time.
// Black is the transparency key of every tile, so the conversion makes sure that only pixels meant
// to be transparent come out pure black.

#include <algorithm>
#include <charconv>

#include "engine/Scene.h"
#include "level/LevelNames.h"
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

// A 1:5:5:5 texel as 5:6:5 (the 5-bit green in the upper five bits of the 6-bit field). Opaque
// texels, and transparent ones with no channel 0, get every channel of at least 2, so no opaque
// texel comes out black; 0x0000 stays black.
uint16_t fixTilePixel(uint16_t pixel) {
    unsigned r = (pixel >> 10) & 31, g = (pixel >> 5) & 31, b = pixel & 31;
    const bool opaque = pixel & 0x8000;
    if (opaque || (r && g && b)) {
        r = std::max(r, 2u);
        g = std::max(g, 2u);
        b = std::max(b, 2u);
    }
    return uint16_t(b | (g << 6) | (r << 11));
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
        const uint16_t fixed = fixTilePixel(uint16_t(source[i] | (source[i + 1] << 8)));
        out[i] = uint8_t(fixed);
        out[i + 1] = uint8_t(fixed >> 8);
    }
}

TBitmap blankTile(const TTombRaiderLevel& level) {
    if (!usesPaletteTiles(level)) return TBitmap(kTileSide, kTileSide, TPixelFormat::pf16bit);
    TBitmap tile(kTileSide, kTileSide, TPixelFormat::pf8bit);
    tile.SetPalette(tilePalette(level.Palette8));
    return tile;
}

// The tile number an entry stands for; entries that are level texture names stand for their own
// entry part, and text that is not an integer counts as -1.
int tileNumberOf(const std::string& entry) {
    std::string path, number = entry;
    SplitLevelTextureName(entry, path, number);
    int value = -1;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    return error == std::errc() && end == number.data() + number.size() ? value : -1;
}

}  // namespace

int TTombRaiderLevel::RegisterTiles(const std::vector<std::string>* entries) {
    if (!Scene) return 0;
    const int count = tileCount(*this);
    TBitmap tile = blankTile(*this);
    int registered = 0;
    const auto registerTile = [&](int k, const std::string& entry) {
        fillTile(*this, k, tile);
        Scene->AddTextureFromBitmap(MakeLevelTextureName(Path, entry), tile);
        ++registered;
    };
    if (!entries) {
        for (int k = 1; k <= count; ++k) registerTile(k, std::to_string(k));
        return registered;
    }
    for (const std::string& entry : *entries) {
        const int k = tileNumberOf(entry);
        if (k > 0 && k <= count) registerTile(k, entry);
    }
    return registered;
}

std::unique_ptr<TBitmap> TTombRaiderLevel::GetTileBitmap(const std::string& entry) const {
    const int k = tileNumberOf(entry);
    if (k <= 0 || k > tileCount(*this)) return nullptr;
    auto tile = std::make_unique<TBitmap>(blankTile(*this));
    fillTile(*this, k, *tile);
    // Palette tiles go through 16 bits as well, so both kinds of level give the same depth of colour.
    tile->SetPixelFormat(TPixelFormat::pf16bit);
    tile->SetPixelFormat(TPixelFormat::pf24bit);
    return tile;
}

}  // namespace grottix
