// Full levels as the games show them, on generated levels of every version: a flipped pair of
// rooms (the picture changes with the flip state exactly where the pair stands), the alternate a
// water room (tinted, and the whole view tinted from inside it), and the level's own sky.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "viewer/HeadlessViewer.h"
#include "import/WaterTint.h"
#include "level_writer/LevelWriter.h"
#include "level/FlipMaps.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using namespace levelwriter;

constexpr int kSize = 2048;  // each room's floor, level units

// A room holding one bright floor of kSize x kSize at level height 0, its origin at (x, z).
Room floorRoom(int code, int32_t x, int32_t z) {
    Room room;
    room.x = x;
    room.z = z;
    room.yBottom = 0;
    room.yTop = -kSize;
    room.xSectors = room.zSectors = kSize / 1024;
    room.sectorList = OpenSectors(room);
    const int16_t s = kSize;
    const std::array<std::array<int16_t, 3>, 4> corners{{{0, 0, 0}, {s, 0, 0}, {s, 0, s}, {0, 0, s}}};
    if (code == 7) {
        Layer layer;
        for (const auto& c : corners) layer.vertices.push_back({float(c[0]), float(c[1]), float(c[2]), 255, 255, 255, 255});
        layer.rectangles = {{{0, 1, 2, 3}, 0}};
        room.layers = {layer};
    } else {
        for (const auto& c : corners) room.vertices.push_back({c[0], c[1], c[2]});
        room.rectangles = {{{0, 1, 2, 3}, 0}};
    }
    return room;
}

// One mesh: a cube of half size 4096 around its origin, every face textured with object texture 0;
// a band leaves out its top and bottom.
std::vector<uint16_t> skyMesh(int code, bool band = false) {
    std::vector<uint16_t> words = {0, 0, 0, 0, 0, 8};
    const int16_t s = 4096, n = -4096;
    for (int i = 0; i < 8; ++i)
        for (int16_t v : {i & 1 ? s : n, i & 2 ? s : n, i & 4 ? s : n}) words.push_back(uint16_t(v));
    words.push_back(uint16_t(-8));
    words.insert(words.end(), 8, 4096);
    std::vector<std::array<uint16_t, 4>> faces = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
    if (!band) faces.insert(faces.end(), {{0, 1, 5, 4}, {2, 3, 7, 6}});
    words.push_back(uint16_t(faces.size()));
    for (const auto& face : faces) {
        words.insert(words.end(), face.begin(), face.end());
        words.push_back(0);
        if (code >= 6) words.push_back(0);
    }
    words.push_back(0);  // textured triangles
    if (code <= 5) words.insert(words.end(), {0, 0});
    if (words.size() % 2) words.push_back(0);
    return words;
}

// Room 0 stands beside a pair: room 1 and its alternate room 2, a water room at the same place.
LevelDescription pairLevel(int code, bool sky) {
    LevelDescription level;
    level.code = code;
    level.tileCount = 1;
    ObjectTexture texture;
    texture.u = {0, 255, 255, 0};
    texture.v = {0, 0, 255, 255};
    level.objectTextures = {texture};
    level.rooms = {floorRoom(code, 0, 0), floorRoom(code, -kSize, 0), floorRoom(code, -kSize, 0)};
    level.rooms[1].alternateRoom = 2;
    level.rooms[1].alternateGroup = level.rooms[2].alternateGroup = 4;
    level.rooms[2].flags = 0x0001;
    level.entities = std::vector<Entity>{};
    if (sky) {
        level.meshData = skyMesh(code);
        level.meshPointers = {0};
        level.frames = std::vector<uint16_t>(11, 0);
        const uint32_t object = code <= 4 ? 254 : code == 5 ? 355 : code == 6 ? 459 : 454;
        level.moveables = std::vector<Moveable>{{object, 1, 0, 0, 0, 0xFFFF}};
    }
    return level;
}

class FullLevelViewTest : public ::testing::TestWithParam<int> {
protected:
    void open(bool sky) {
        const std::string path = dir.file(GetParam() == 7 ? "pair.trc" : GetParam() == 2 ? "pair.tub" : "pair.tr4");
        WriteLevelFile(pairLevel(GetParam(), sky), path);
        ASSERT_EQ(viewer.Open(path), 0);
    }
    TBitmap draw(TD3DVector eye, TD3DVector angles, const std::function<void()>& before = {}) {
        viewer.Scene.SetCameraPosition(eye);
        viewer.Scene.SetCameraRotation(angles);
        if (before) before();
        viewer.DrawFrame();
        return viewer.Picture();
    }
    test::TempDir dir;
    THeadlessViewer viewer{64, 48, 1};
};

// Whether each channel of b is a's multiplied by the tint (0x00RRGGBB), give or take rounding.
bool tinted(TColor a, TColor b, uint32_t tint) {
    const auto near = [](int got, double want) { return std::abs(got - want) <= 3; };
    return near(GetRValue(b), GetRValue(a) * ((tint >> 16) & 0xFF) / 255.0) &&
           near(GetGValue(b), GetGValue(a) * ((tint >> 8) & 0xFF) / 255.0) && near(GetBValue(b), GetBValue(a) * (tint & 0xFF) / 255.0);
}

// Looking down from above the three rooms: room 0 on one side, the pair on the other.
constexpr TD3DVector kAbove{0, 24, 16}, kDown{-1.5f, 0, 0};
// Inside the pair's rooms, looking down across both floors.
constexpr TD3DVector kInside{-1, 8, 8}, kAcross{-1.0f, 1.5708f, 0};

TEST_P(FullLevelViewTest, FlippingShowsTheWaterAlternateTintedExactlyWhereThePairStands) {
    open(false);
    EXPECT_EQ(viewer.Scene.RoomsShown, (std::vector<uint8_t>{1, 1, 0}));
    ASSERT_EQ(viewer.Scene.Flips.Groups(), std::vector<int>{GetParam() >= 6 ? 4 : 0}) << "groups are kept by TR4 and TR5";
    const TBitmap without = draw(kAbove, kDown, [&] { viewer.Scene.RoomsShown = {1, 0, 0}; });
    const TBitmap primary = draw(kAbove, kDown, [&] { viewer.Scene.SetFlipState({}); });
    const TBitmap alternate = draw(kAbove, kDown, [&] { viewer.Scene.SetFlipState(TFlipState::Group(GetParam() >= 6 ? 4 : 0)); });
    EXPECT_FALSE(viewer.Scene.EyeUnderWater());
    const uint32_t tint = WaterTint(GetParam());
    int pair = 0, changed = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const TColor p = primary.Pixel(x, y), a = alternate.Pixel(x, y);
            if (p == without.Pixel(x, y)) {
                EXPECT_EQ(a, p) << "outside the pair at " << x << ", " << y;
                continue;
            }
            ++pair;
            changed += a != p;
            EXPECT_TRUE(tinted(p, a, tint)) << "at " << x << ", " << y << ": " << std::hex << p << " then " << a;
        }
    EXPECT_GT(pair, 64 * 48 / 16) << "the pair stands in view";
    EXPECT_GT(changed, pair / 2);
}

TEST_P(FullLevelViewTest, FromInsideTheFloodedRoomTheWholeViewIsTintedAndDarker) {
    open(false);
    const TBitmap dry = draw(kInside, kAcross);
    EXPECT_FALSE(viewer.Scene.EyeUnderWater());
    const TBitmap flooded = draw(kInside, kAcross, [&] { viewer.Scene.SetFlipState(TFlipState::All()); });
    EXPECT_TRUE(viewer.Scene.EyeUnderWater());
    // Room 0's floor is not tinted itself: there only the view's tint shows.
    const TBitmap roomZero = draw(kInside, kAcross, [&] { viewer.Scene.RoomsShown = {1, 0, 0}; });
    const uint32_t viewTint = UnderwaterViewTint(GetParam());
    int checked = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            if (dry.Pixel(x, y) != roomZero.Pixel(x, y) || dry.Pixel(x, y) == RGB(0, 0, 0)) continue;
            ++checked;
            EXPECT_TRUE(tinted(dry.Pixel(x, y), flooded.Pixel(x, y), viewTint)) << x << ", " << y;
        }
    EXPECT_GT(checked, 64 * 48 / 8);
}

TEST_P(FullLevelViewTest, TheLevelsOwnSkyMovesWithTheEyeInsteadOfTheGeneratedOne) {
    open(true);
    const bool hasSky = GetParam() >= 3;
    EXPECT_EQ(viewer.Scene.LevelSky.empty(), !hasSky);
    const TD3DVector up{1.5f, 0.3f, 0};
    const TBitmap there = draw({40, 30, -20}, up), here = draw(kAbove, up);
    const TBitmap generated = draw(kAbove, up, [&] { viewer.Scene.LevelSkyShown = false; });
    int same = 0, own = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            same += here.Pixel(x, y) == there.Pixel(x, y);
            own += here.Pixel(x, y) != generated.Pixel(x, y);
        }
    if (!hasSky) {
        EXPECT_EQ(own, 0) << "TR1 keeps the generated sky";
        return;
    }
    EXPECT_EQ(same, 64 * 48) << "the sky stands around the eye wherever it goes";
    EXPECT_GT(own, 64 * 48 / 2);
}

// A sky that is only a band round the horizon, its first frame offset far up: it stands centred on the
// eye, and the generated sky shows above and below it instead of the background.
TEST_P(FullLevelViewTest, TheLevelsOwnSkyIsCentredOnTheEyeAndNoDirectionShowsBlack) {
    if (GetParam() < 3) GTEST_SKIP() << "no sky of its own";
    LevelDescription level = pairLevel(GetParam(), true);
    level.meshData = skyMesh(GetParam(), true);
    (*level.frames)[7] = uint16_t(-20000);  // the offset's y
    const std::string path = dir.file(GetParam() == 7 ? "band.trc" : "band.tr4");
    WriteLevelFile(level, path);
    ASSERT_EQ(viewer.Open(path), 0);
    const auto blackPixels = [](const TBitmap& picture) {
        int black = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) black += (picture.Pixel(x, y) & 0xFFFFFF) == 0;
        return black;
    };
    const TBitmap level_ = draw({40, 30, -20}, {0, 0.3f, 0}), up = draw({40, 30, -20}, {1.5f, 0.3f, 0});
    viewer.Scene.LevelSkyShown = false;
    const TBitmap generatedLevel = draw({40, 30, -20}, {0, 0.3f, 0});
    EXPECT_NE(level_.Pixel(32, 24), generatedLevel.Pixel(32, 24)) << "the band stands at the horizon";
    EXPECT_EQ(blackPixels(up), 0) << "above the band";
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, FullLevelViewTest, ::testing::Range(1, 8));

}  // namespace
}  // namespace grottix
