// A level's texture tiles as images: registered as scene textures, or handed out one at a time.
// Black is the transparency key of every tile, so the conversion makes sure that only pixels meant
// to be transparent come out pure black.

#include <algorithm>
#include <charconv>

#include "device/DirectDrawSurface.h"
#include "engine/Scene.h"
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

// Tile number k (1-based) as the texels of its texture: what fillTile makes, widened to 32 bits, in
// one pass. palette: the tile palette as texels (codes 1-2).
std::shared_ptr<TTexelImage> tileTexels(const TTombRaiderLevel& level, int k, const std::array<uint32_t, 256>& palette) {
    auto image = std::make_shared<TTexelImage>();
    image->width = image->height = kTileSide;
    image->texels.resize(size_t(kTileSide) * kTileSide);
    uint32_t* out = image->texels.data();
    if (usesPaletteTiles(level))
        ConvertTileTexels8(level.Tiles8.data() + size_t(k - 1) * kTile8Bytes, image->texels.size(), palette.data(), out);
    else
        ConvertTileTexels16(level.Tiles16.data() + size_t(k - 1) * kTile16Bytes, image->texels.size(), out);
    return image;
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
    const std::array<uint32_t, 256> palette =
        texelPalette(usesPaletteTiles(*this) ? tilePalette(Palette8) : std::vector<TPaletteEntry>());
    int registered = 0;
    const auto registerTile = [&](int k, const std::string& entry) {
        Scene->AddTextureFromTexels(MakeLevelTextureName(Path, entry), tileTexels(*this, k, palette));
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
