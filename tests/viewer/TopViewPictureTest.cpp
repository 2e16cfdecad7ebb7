// The view from above a room, orthographic, drawn by both renderers: the room's floor fills the part
// of the view its size gives whatever its depth, the room above it is left out, and a click finds
// the point of the floor under the pixel, not the point under the eye.

#include <gtest/gtest.h>

#include <algorithm>

#include "viewer/HeadlessViewer.h"
#include "viewer/TopView.h"
#include "viewer/ViewPicking.h"
#include "device/qt/OpenGLHeadlessDXDraw.h"
#include "device/qt/QtTestApplication.h"
#include "support/ItemLevel.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

constexpr int kWidth = 160, kHeight = 120;

struct TGreen {
    int left = kWidth, right = -1, top = kHeight, bottom = -1;
};

TGreen greenPixels(const TBitmap& picture) {
    TGreen found;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const TColor c = picture.Pixel(x, y);
            if (GetGValue(c) < 100 || GetRValue(c) > 80) continue;
            found.left = std::min(found.left, x), found.right = std::max(found.right, x);
            found.top = std::min(found.top, y), found.bottom = std::max(found.bottom, y);
        }
    return found;
}

// The item level's room (4 x 4 sectors, floor at 512) with a room of the same squares above it,
// its floor a sector over the first's ceiling.
std::string roomUnderRoom(test::TempDir& dir) {
    auto level = test::ItemLevel(1);
    levelwriter::Room above = level.rooms.front();
    above.yBottom = -3072;
    above.yTop = -4096;
    for (auto& vertex : above.vertices) vertex.y = -3072;
    level.rooms.push_back(above);
    const std::string path = dir.file("stacked.phd");
    levelwriter::WriteLevelFile(level, path);
    return path;
}

void expectPlanFromAbove(THeadlessViewer& viewer, const std::string& path, const char* renderer) {
    SCOPED_TRACE(renderer);
    ASSERT_EQ(viewer.Open(path), 0);
    TGrottixViewerScene& scene = viewer.Scene;
    const TTopView view = TopViewOver(RoomSceneBox(*scene.Level, 0, 128), true, -1000);
    scene.RoomsHidden = RoomsAbove(*scene.Level, 0);
    ASSERT_EQ(scene.RoomsHidden, (std::vector<uint8_t>{0, 1}));
    EXPECT_EQ(RoomsAbove(*scene.Level, 1), (std::vector<uint8_t>{0, 0})) << "nothing lies above the upper room";
    scene.SetProjection(view.Projection);
    scene.JumpCamera(view.Eye);
    scene.SetCameraRotation(view.Angles);
    viewer.DrawFrame(false);
    EXPECT_EQ(scene.CellsDrawn, (std::vector<uint8_t>{1, 0})) << "the room above is left out";

    // The floor is 32 scene units square, 20 below the box's top: seen in perspective it would
    // cover less than half of what it covers here.
    const TGreen floor = greenPixels(viewer.Picture());
    const double perPixel = 2 * view.Projection.HalfHeight / kHeight;  // scene units, both ways in a 4:3 view
    EXPECT_NEAR(floor.bottom - floor.top + 1, 32 / perPixel, 2);
    EXPECT_NEAR(floor.right - floor.left + 1, 32 / perPixel, 2);

    // Near the floor's far left corner (x -16, z 16: z runs up the view, as on the sector map).
    const std::optional<TViewRay> ray = ViewRay(scene, kWidth, kHeight, floor.left + 2.5, floor.top + 2.5);
    ASSERT_TRUE(ray);
    const TPick pick = PickAlongRay(*ray, *scene.Level, {}, {}, scene.RoomsVisible(), 128);
    EXPECT_EQ(pick.room, 0);
    ASSERT_TRUE(pick.point);
    EXPECT_NEAR(pick.point->x, -16 + 2.5 * perPixel, 1.5 * perPixel);
    EXPECT_NEAR(pick.point->z, 16 - 2.5 * perPixel, 1.5 * perPixel);
    EXPECT_NEAR(pick.point->y, -4, 1e-3) << "on the lower room's floor, through the upper one";
}

TEST(TopViewPicture, BothRenderersDrawTheRoomFromAboveAsAPlanAndPickThroughIt) {
    test::TempDir dir;
    const std::string path = roomUnderRoom(dir);
    {
        THeadlessViewer viewer(kWidth, kHeight, 1);
        expectPlanFromAbove(viewer, path, "CPU rasterizer");
    }
    test::TestApplication();
    GROTTIX_REQUIRE_OPENGL();
    THeadlessViewer viewer(std::make_unique<TOpenGLHeadlessDXDraw>(kWidth, kHeight));
    ASSERT_TRUE(viewer.UsesOpenGL());
    expectPlanFromAbove(viewer, path, "OpenGL");
}

}  // namespace
}  // namespace grottix
