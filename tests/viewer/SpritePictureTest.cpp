// Room sprites drawn headless: their picture comes from the sprite-texture table (not the object
// textures), their size and place from the sprite's extents, in the layouts of TR1 and TR4.

#include <gtest/gtest.h>

#include "viewer/HeadlessViewer.h"
#include "level_writer/LevelWriter.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using namespace levelwriter;

// One tile: transparent black, a green square at texels 0-63 named by object texture 0, a red
// square at texels 64-127 named by sprite texture 0. The sprite is 512 level units square.
LevelDescription spriteLevel(int code) {
    LevelDescription level;
    level.code = code;
    level.tileCount = 1;
    const auto paint = [&](int x0, int y0, uint8_t index, uint16_t texel) {
        for (int y = y0; y < y0 + 64; ++y)
            for (int x = x0; x < x0 + 64; ++x) {
                level.tiles8[size_t(y * 256 + x)] = index;
                level.tiles16[size_t(y * 256 + x) * 2] = uint8_t(texel);
                level.tiles16[size_t(y * 256 + x) * 2 + 1] = uint8_t(texel >> 8);
            }
    };
    level.tiles8.assign(65536, 0);
    level.tiles16.assign(131072, 0);
    level.palette8[3] = 63;      // entry 1: red
    level.palette8[7] = 63;      // entry 2: green
    paint(0, 0, 2, 0x83E0);      // opaque green
    paint(64, 64, 1, 0xFC00);    // opaque red
    ObjectTexture green;
    green.u = {0, 63, 63, 0};
    green.v = {0, 0, 63, 63};
    level.objectTextures = {green};
    if (code >= 6) level.spriteTextures = std::vector<SpriteTexture>{{0, 0, 0, 0, 0, 64, 64, 127, 127}};
    else level.spriteTextures = std::vector<SpriteTexture>{{0, 64, 64, 64 * 256 - 1, 64 * 256 - 1, -256, -512, 256, 0}};
    Room room;
    room.x = room.z = -2048;
    room.xSectors = room.zSectors = 4;
    room.yBottom = 512;
    room.yTop = -2048;
    room.vertices = {{2048, 0, 3072}};  // absolute (0, 0, 1024)
    room.sprites = {{0, 0}};
    level.rooms = {room};
    // The eye stands 768 above y 512, level with the sprite's middle, 1024 in front of it.
    level.entities = std::vector<Entity>{{0, 0, 0, 512, 0, 0}};
    return level;
}

TEST(SpritePicture, TheBillboardShowsItsSpriteTextureAtTheSizeOfItsExtents) {
    test::TempDir dir;
    for (const auto& [code, name] : {std::pair{1, "sprite.phd"}, std::pair{6, "sprite.tr4"}}) {
        WriteLevelFile(spriteLevel(code), dir.file(name));
        THeadlessViewer viewer(200, 200, 1);
        ASSERT_EQ(viewer.Open(dir.file(name)), 0);
        viewer.DrawFrame(false);
        const TBitmap picture = viewer.Picture();
        int left = 200, right = -1, top = 200, bottom = -1, green = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x) {
                const TColor c = picture.Pixel(x, y);
                green += GetGValue(c) > 150 && GetRValue(c) < 80;
                if (GetRValue(c) < 150 || GetGValue(c) > 80) continue;
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
            }
        // 4 scene units at 8 units' distance in a 90-degree view 200 pixels high: 50 pixels; the
        // view squeezes x by 3/4 for the 4:3 screen, so 37.5 pixels across.
        EXPECT_NEAR(left, 81, 2) << name;
        EXPECT_NEAR(right, 118, 2) << name;
        EXPECT_NEAR(top, 75, 2) << name;
        EXPECT_NEAR(bottom, 124, 2) << name;
        EXPECT_EQ(green, 0) << name << ": the object texture of the same index is not the sprite's picture";
    }
}

}  // namespace
}  // namespace grottix
