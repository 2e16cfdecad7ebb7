#include <gtest/gtest.h>

#include "engine/Scene.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"
#include "level_writer/LevelWriter.h"

namespace grottix {
namespace {

using levelwriter::LevelDescription;

constexpr size_t kTile16Bytes = 131072;
constexpr size_t kTile8Bytes = 65536;
const std::string kPath = "/levels/tiles.tr4";

// A 5:6:5 pixel as a colour, the way the tile images widen it to 24 bits.
TColor from565(unsigned r5, unsigned g6, unsigned b5) {
    return RGB(uint8_t((r5 << 3) | (r5 >> 2)), uint8_t((g6 << 2) | (g6 >> 4)), uint8_t((b5 << 3) | (b5 >> 2)));
}

// A TR4 level of count tiles; texel i of tile k is pixelOf(k, i) (1:5:5:5).
template <typename PixelOf>
LevelDescription trueColourLevel(int count, PixelOf pixelOf) {
    LevelDescription level;
    level.code = 6;
    level.tileCount = count;
    level.tiles16.resize(size_t(count) * kTile16Bytes);
    for (int k = 1; k <= count; ++k)
        for (size_t i = 0; i < 65536; ++i) {
            const uint16_t pixel = pixelOf(k, i);
            level.tiles16[size_t(k - 1) * kTile16Bytes + i * 2] = uint8_t(pixel);
            level.tiles16[size_t(k - 1) * kTile16Bytes + i * 2 + 1] = uint8_t(pixel >> 8);
        }
    return level;
}

// Tile k is opaque, with red k and green and blue depending on the texel's place.
LevelDescription numberedTiles(int count) {
    return trueColourLevel(count, [](int k, size_t i) {
        return uint16_t(0x8000 | (k << 10) | ((i % 256 % 32) << 5) | (i / 256 % 32));
    });
}

class LevelTiles : public ::testing::Test {
protected:
    void load(const LevelDescription& description, const std::string& path = kPath) {
        ASSERT_EQ(level.LoadLevelFromBytes(levelwriter::WriteLevel(description), path, true), kLevelLoaded);
    }
    // The registered texture of a tile, as a 24-bit bitmap.
    TBitmap texture(const std::string& entry) {
        const auto bitmap = scene.GetTextureBitmap(MakeLevelTextureName(kPath, entry));
        return bitmap ? *bitmap : TBitmap();
    }
    std::vector<std::string> registeredNames() const {
        std::vector<std::string> names;
        for (const auto& entry : scene.Shared->Textures) names.push_back(entry.Name);
        return names;
    }

    TD3DScene scene{nullptr};
    TTombRaiderLevel level;
};

TEST_F(LevelTiles, EveryTileOfAGeneratedLevelBecomesATextureWithItsPixels) {
    load(numberedTiles(3));
    EXPECT_EQ(scene.RegisterLevelTiles(level), 3);
    EXPECT_EQ(registeredNames(), (std::vector<std::string>{"->" + kPath + "::1", "->" + kPath + "::2", "->" + kPath + "::3"}));
    for (int k = 1; k <= 3; ++k) {
        const TBitmap tile = texture(std::to_string(k));
        ASSERT_EQ(tile.Width(), 256);
        ASSERT_EQ(tile.Height(), 256);
        // Channels below 2 of an opaque texel are raised to 2; green moves to the top of 6 bits.
        EXPECT_EQ(tile.Pixel(0, 0), from565(std::max(k, 2), 4, 2)) << k;
        EXPECT_EQ(tile.Pixel(7, 9), from565(std::max(k, 2), 14, 9)) << k;
        EXPECT_EQ(tile.Pixel(255, 255), from565(std::max(k, 2), 62, 31)) << k;
    }
}

TEST_F(LevelTiles, TheFixUpKeepsOnlyTransparentBlackBlack) {
    // Row 0 of the tile: opaque black, transparent 1-1-1, transparent blue 1, transparent black,
    // transparent with a zero channel, opaque white.
    const std::vector<uint16_t> texels = {0x8000, 0x0421, 0x0001, 0x0000, 0x0401, 0xFFFF};
    load(trueColourLevel(1, [&](int, size_t i) { return i < texels.size() ? texels[i] : uint16_t(0); }));
    const auto tile = level.GetTileBitmap("1");
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(tile->Pixel(0, 0), from565(2, 4, 2));
    EXPECT_EQ(tile->Pixel(1, 0), from565(2, 4, 2));
    EXPECT_EQ(tile->Pixel(2, 0), from565(0, 0, 1));
    EXPECT_EQ(tile->Pixel(3, 0), RGB(0, 0, 0));
    EXPECT_EQ(tile->Pixel(4, 0), from565(1, 0, 1));
    EXPECT_EQ(tile->Pixel(5, 0), from565(31, 62, 31));
}

TEST_F(LevelTiles, ListedEntriesRegisterOnlyTileNumbersWithinTheLevel) {
    load(numberedTiles(3));
    const std::vector<std::string> entries = {"0", "-3", "two", "3", "4", "", "1x", "->elsewhere.tr4::1"};
    EXPECT_EQ(scene.RegisterLevelTiles(level, &entries), 2);
    EXPECT_EQ(registeredNames(), (std::vector<std::string>{"->" + kPath + "::3", "->" + kPath + "::1"}));
    EXPECT_EQ(texture("3").Pixel(0, 0), from565(3, 4, 2));
}

TEST_F(LevelTiles, ALevelWithoutTilesRegistersNothing) {
    load(numberedTiles(0));
    EXPECT_EQ(scene.RegisterLevelTiles(level), 0);
    const std::vector<std::string> entries = {"1"};
    EXPECT_EQ(scene.RegisterLevelTiles(level, &entries), 0);
    EXPECT_EQ(level.GetTileBitmap("1"), nullptr);
    EXPECT_TRUE(scene.Shared->Textures.empty());
}

TEST_F(LevelTiles, GetTileBitmapTakesOnlyTileNumbers) {
    load(numberedTiles(2));
    for (const char* entry : {"0", "3", "-1", "x", ""}) EXPECT_EQ(level.GetTileBitmap(entry), nullptr) << entry;
    const auto tile = level.GetTileBitmap("2");
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->Width(), 256);
    EXPECT_EQ(tile->Height(), 256);
    EXPECT_EQ(tile->Pixel(3, 1), from565(2, 6, 2));
}

// Classic (code 1) level: 8-bit tiles through the level's palette.
LevelDescription paletteLevel() {
    LevelDescription level;
    level.code = 1;
    level.tileCount = 1;
    level.tiles8.assign(kTile8Bytes, 0);
    level.tiles8[1] = 5;
    level.tiles8[2] = 7;
    level.tiles8[3] = 9;
    level.palette8.fill(0);
    level.palette8[7 * 3] = 63;
    level.palette8[7 * 3 + 1] = 10;
    level.palette8[9 * 3] = 200;  // beyond six bits: only the low six count
    return level;
}

TEST_F(LevelTiles, PaletteTilesUseTheLevelPaletteWithOnlyEntryZeroBlack) {
    load(paletteLevel(), "/levels/tiles.phd");
    ASSERT_EQ(level.VersionCode, 1);
    EXPECT_EQ(scene.RegisterLevelTiles(level), 1);
    const auto bitmap = scene.GetTextureBitmap("->/levels/tiles.phd::1");
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(bitmap->Pixel(1, 0), RGB(4, 4, 4));
    EXPECT_EQ(bitmap->Pixel(2, 0), RGB(252, 40, 4));
    EXPECT_EQ(bitmap->Pixel(3, 0), RGB((200 & 63) * 4, 4, 4));
}

TEST_F(LevelTiles, PaletteTileBitmapsGoThroughSixteenBitsAndStayNonBlack) {
    load(paletteLevel(), "/levels/tiles.phd");
    const auto tile = level.GetTileBitmap("1");
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(tile->Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_NE(tile->Pixel(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(tile->Pixel(2, 0), from565(252 >> 3, 40 >> 2, 4 >> 3));
}

TEST_F(LevelTiles, ALevelCutShortInsideItsTilesRegistersWhatItHolds) {
    LevelDescription description = numberedTiles(2);
    description.code = 3;  // tiles stored plainly, so the cut falls inside them
    std::vector<levelwriter::SectionMark> marks;
    std::vector<uint8_t> bytes = levelwriter::WriteLevel(description, marks);
    const auto second = std::find_if(marks.begin(), marks.end(), [](const auto& m) { return m.name == "16-bit texture tiles" && m.tile == 2; });
    ASSERT_NE(second, marks.end());
    bytes.resize(second->offset + 1000);
    ASSERT_EQ(level.LoadLevelFromBytes(bytes, "/levels/short.tr2", true), kLevelDamaged);
    const int registered = scene.RegisterLevelTiles(level);
    EXPECT_EQ(registered, 1);
    EXPECT_EQ(scene.Shared->Textures.size(), 1u);
}

}  // namespace
}  // namespace grottix
