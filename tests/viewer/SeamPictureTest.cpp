// Faces that share an edge leave no pixel between them: closed rooms of many small squares drawn
// from many eyes, with nothing behind them, show no background pixel in either renderer.

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

}  // namespace
}  // namespace grottix
