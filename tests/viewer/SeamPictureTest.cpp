// Faces that share an edge leave no pixel between them, and filtering never reads a texel beyond a
// face's texture: closed rooms of many small squares drawn from many eyes, with nothing behind them,
// show no background pixel and none of the colour around their texture on the tile, in either
// renderer.

#include <gtest/gtest.h>

#include <numbers>
#include <random>

#include "device/qt/OpenGLHeadlessDXDraw.h"
#include "device/qt/QtTestApplication.h"
#include "level_writer/RoomGrid.h"
#include "support/TempDir.h"
#include "viewer/HeadlessViewer.h"

namespace grottix {
namespace {

using namespace levelwriter;

constexpr float kRoom = kGridRoomSize / 128.0f;
constexpr float kPi = std::numbers::pi_v<float>;

// Pixels the level left as the cleared background (black, which no vertex colour of the grid is).
int backgroundPixels(THeadlessViewer& viewer, TD3DVector eye, TD3DVector angles) {
    viewer.Scene.EyePosition = eye;
    viewer.Scene.EyeRotation = angles;
    viewer.Scene.InvalidateAll();
    viewer.DrawFrame();
    const TBitmap picture = viewer.Picture();
    int count = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) count += (picture.Pixel(x, y) & 0xFFFFFF) == 0;
    return count;
}

void expectNoSeams(THeadlessViewer& viewer, const std::string& what) {
    // Nothing but the rooms: no sky, no floor plane.
    viewer.Scene.SkyTexture = nullptr;
    viewer.Scene.LevelSky.clear();
    viewer.Scene.HideItems(kKindQuadrangle, 1);
    std::mt19937 random(5);
    const auto uniform = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
    for (int i = 0; i < 60; ++i) {
        const TD3DVector eye{uniform(4, kRoom - 4), uniform(1, 14), uniform(4, kRoom - 4)};
        const TD3DVector angles{uniform(-1.4f, 1.4f), uniform(-kPi, kPi), uniform(-0.3f, 0.3f)};
        EXPECT_EQ(backgroundPixels(viewer, eye, angles), 0)
            << what << ": eye " << eye.x << ", " << eye.y << ", " << eye.z << " angles " << angles.x << ", " << angles.y << ", " << angles.z;
    }
}

TEST(SeamPicture, TheCpuRasterizerLeavesNoPixelBetweenNeighbouringFaces) {
    test::TempDir dir;
    WriteLevelFile(RoomGridLevel(6, 1, 1), dir.file("room.tr4"));
    THeadlessViewer viewer(320, 240, 1);
    ASSERT_EQ(viewer.Open(dir.file("room.tr4")), 0);
    expectNoSeams(viewer, "CPU");
}

TEST(SeamPicture, OpenGLLeavesNoPixelBetweenNeighbouringFaces) {
    test::TestApplication();
    GROTTIX_REQUIRE_OPENGL();
    test::TempDir dir;
    WriteLevelFile(RoomGridLevel(6, 1, 1), dir.file("room.tr4"));
    THeadlessViewer viewer(std::make_unique<TOpenGLHeadlessDXDraw>(320, 240));
    ASSERT_TRUE(viewer.UsesOpenGL());
    ASSERT_EQ(viewer.Open(dir.file("room.tr4")), 0);
    expectNoSeams(viewer, "OpenGL");
}

// The grid's room with every face textured by a white square in the middle of a red tile, its
// vertices uncoloured (TR1 lights them grey, TR4 colours them white).
LevelDescription whiteSquareOnRed(int code) {
    LevelDescription level = RoomGridLevel(code, 1, 1);
    level.palette8[3] = level.palette8[4] = level.palette8[5] = 63;  // 1: white
    level.palette8[6] = 63;                                          // 2: red
    const auto inside = [](size_t i) { return i % 256 >= 64 && i % 256 < 128 && i / 256 >= 64 && i / 256 < 128; };
    for (size_t i = 0; i < 65536; ++i) {
        const bool white = inside(i);
        level.tiles8[i] = white ? 1 : 2;
        const uint16_t texel = white ? 0xFFFF : 0xFC00;
        level.tiles16[i * 2] = uint8_t(texel), level.tiles16[i * 2 + 1] = uint8_t(texel >> 8);
        const uint8_t other = white ? 255 : 0;  // blue, green, red, alpha
        level.tiles32[i * 4] = level.tiles32[i * 4 + 1] = other;
        level.tiles32[i * 4 + 2] = level.tiles32[i * 4 + 3] = 255;
    }
    ObjectTexture square;
    square.u = {64, 127, 127, 64};
    square.v = {64, 64, 127, 127};
    level.objectTextures = {square};
    for (Vertex& v : level.rooms[0].vertices) v.colour = 0x7FFF, v.lighting = 0;
    return level;
}

void expectNoBleeding(THeadlessViewer& viewer, const std::string& what) {
    std::mt19937 random(9);
    const auto uniform = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
    for (int i = 0; i < 30; ++i) {
        viewer.Scene.EyePosition = {uniform(4, kRoom - 4), uniform(1, 14), uniform(4, kRoom - 4)};
        viewer.Scene.EyeRotation = {uniform(-1.4f, 1.4f), uniform(-kPi, kPi), 0};
        viewer.Scene.InvalidateAll();
        viewer.DrawFrame(true);
        const TBitmap picture = viewer.Picture();
        int reddish = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                const uint32_t c = picture.Pixel(x, y);  // a colour value: red in the low byte
                reddish += int(c & 0xFF) > int((c >> 8) & 0xFF) + 24;
            }
        EXPECT_EQ(reddish, 0) << what << " from eye " << i;
    }
}

TEST(SeamPicture, FilteringReadsNoTexelBeyondAFacesTexture) {
    test::TempDir dir;
    for (int code : {1, 6}) {
        WriteLevelFile(whiteSquareOnRed(code), dir.file("white" + std::to_string(code)));
        THeadlessViewer viewer(160, 120, 1);
        ASSERT_EQ(viewer.Open(dir.file("white" + std::to_string(code))), 0);
        expectNoBleeding(viewer, "CPU, code " + std::to_string(code));
    }
    test::TestApplication();
    GROTTIX_REQUIRE_OPENGL();
    THeadlessViewer viewer(std::make_unique<TOpenGLHeadlessDXDraw>(160, 120));
    ASSERT_TRUE(viewer.UsesOpenGL());
    ASSERT_EQ(viewer.Open(dir.file("white6")), 0);
    expectNoBleeding(viewer, "OpenGL");
}

}  // namespace
}  // namespace grottix
