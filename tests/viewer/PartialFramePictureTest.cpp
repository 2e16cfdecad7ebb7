// A step of the texture animation drawn over only the animated faces' area gives the picture of
// the whole frame drawn anew, on the CPU rasterizer and through OpenGL; and that area is what the
// animation changes, not the whole view.

#include <gtest/gtest.h>

#include <cstdlib>

#include "viewer/HeadlessViewer.h"
#include "device/qt/OpenGLHeadlessDXDraw.h"
#include "viewer/PartialFrame.h"
#include "device/D3DDevice.h"
#include "device/qt/QtTestApplication.h"

namespace grottix {
namespace {

constexpr double kStart = 100;

// Sets the level's clock; the animation starts its cycle at the level's time 0.
void clockAt(TGrottixViewerScene& scene, double seconds) { scene.FixLevelTime(seconds - kStart); }
double midStep(int step) { return kStart + (step + 0.5) / 6; }

// Pixels with a channel more than `tolerance` apart.
int differingPixels(const TBitmap& a, const TBitmap& b, int tolerance = 0) {
    int count = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width() * 3; x += 3) {
            const uint8_t* p = a.ScanLine(y) + x;
            const uint8_t* q = b.ScanLine(y) + x;
            count += std::abs(p[0] - q[0]) > tolerance || std::abs(p[1] - q[1]) > tolerance || std::abs(p[2] - q[2]) > tolerance;
        }
    return count;
}

void expectPartialStepsDrawTheWholeFrame(THeadlessViewer& viewer, const std::string& what) {
    ASSERT_EQ(viewer.Open(std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr4.tr4"), 0) << what;
    // Looking down at the pool from its edge, with the hall's walls around it.
    viewer.Scene.SetCameraPosition({20, -28, 84});
    viewer.Scene.SetCameraRotation({-0.6f, 0, 0});
    TD3DDevice& device = *viewer.Display->D3DDevice7();
    clockAt(viewer.Scene, kStart);
    viewer.DrawFrame();
    TBitmap before = viewer.Picture();
    for (int step = 1; step <= 3; ++step) {
        const TD3DRect area = AnimatedArea(viewer.Scene);
        const int pixels = (area.x2 - area.x1) * (area.y2 - area.y1);
        ASSERT_GT(pixels, 0) << what << ": the pool is in view";
        EXPECT_LT(pixels, 320 * 240 * 3 / 4) << what << ": the walls are not in the area";
        clockAt(viewer.Scene, midStep(step));
        {
            TPartialView part(device, area);
            viewer.DrawFrame();
        }
        const TBitmap partial = viewer.Picture();
        clockAt(viewer.Scene, midStep(step));
        viewer.DrawFrame();
        const TBitmap whole = viewer.Picture();
        EXPECT_GT(differingPixels(whole, before), 100) << what << ": step " << step << " moved the water";
        // The area's own projection rounds a few interpolated channels the other way.
        EXPECT_EQ(differingPixels(partial, whole, 1), 0) << what << ": step " << step;
        before = whole;
    }
    EXPECT_EQ(device.GetViewport().dwWidth, 320u) << "the whole viewport is back";
}

TEST(PartialFramePicture, AnimationStepsDrawnOverTheirAreaLookLikeWholeFrames) {
    THeadlessViewer viewer(320, 240, 2);
    expectPartialStepsDrawTheWholeFrame(viewer, "CPU");
}

TEST(PartialFramePicture, OpenGLDrawsAnimationStepsOverTheirArea) {
    test::TestApplication();
    GROTTIX_REQUIRE_OPENGL();
    THeadlessViewer viewer(std::make_unique<TOpenGLHeadlessDXDraw>(320, 240));
    ASSERT_TRUE(viewer.UsesOpenGL());
    expectPartialStepsDrawTheWholeFrame(viewer, "OpenGL");
}

TEST(PartialFramePicture, TheAreaIsEmptyWhenNoAnimatedFaceIsDrawn) {
    THeadlessViewer viewer(160, 120, 1);
    ASSERT_EQ(viewer.Open(std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr4.tr4"), 0);
    viewer.DrawFrame();
    EXPECT_GT(AnimatedArea(viewer.Scene).x2, 0) << "the pool shows from the start";
    viewer.Scene.SetCameraRotation({1.5707964f, 0, 0});  // straight up, at the sky
    viewer.DrawFrame();
    const TD3DRect area = AnimatedArea(viewer.Scene);
    EXPECT_EQ(area.x1, area.x2);
}

}  // namespace
}  // namespace grottix
