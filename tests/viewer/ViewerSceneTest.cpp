#include <gtest/gtest.h>

#include <cmath>

#include "viewer/SkyBlobs.h"
#include "viewer/ViewerScene.h"
#include "device/Direct3DTexture.h"
#include "engine/QuadrAngle.h"
#include "level_writer/LevelWriter.h"
#include "device/HeadlessDXDraw.h"
#include "device/RecordingDevice.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using TKind = TDeviceCall::TKind;

TEST(SkyData, VerticesDescribeTheEllipsoidAsAStripOfBands) {
    const auto sky = ExpandSkyVertices();
    ASSERT_EQ(sky.size(), 320u);
    // Band 0, meridian 0: the top of the ellipsoid, then ring 1 (18 degrees down).
    EXPECT_FLOAT_EQ(sky[0].y, 7000);
    EXPECT_NEAR(sky[1].y, 2000 + 5000 * std::cos(18 * M_PI / 180), 1e-2);
    EXPECT_NEAR(sky[1].z, 10000 * std::sin(18 * M_PI / 180), 1e-2);
    EXPECT_FLOAT_EQ(sky[1].tv, 0.1f);
    // Meridian 15 of band 9 ends the strip on ring 10, the bottom.
    EXPECT_FLOAT_EQ(sky[319].y, -3000);
    EXPECT_FLOAT_EQ(sky[319].tu, -2.0f);
    for (const auto& v : sky) {
        EXPECT_EQ(v.color, 0x00FFFFFFu);
        EXPECT_EQ(v.specular, 0u);
    }
}

TEST(SkyData, PictureIsAPaleSkyInBands) {
    const TBitmap sky = ExpandSkyPicture();
    ASSERT_EQ(sky.Width(), 64);
    ASSERT_EQ(sky.Height(), 64);
    const TColor middle = sky.Pixel(10, 32), bottom = sky.Pixel(10, 63);
    EXPECT_NEAR(GetBValue(middle), 224, 8);
    EXPECT_NEAR(GetRValue(bottom), 75, 8);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) EXPECT_NE(sky.Pixel(x, y), RGB(0, 0, 0)) << "black is the sky's colour key";
}

class ViewerSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        display.Initialize();
        scene.SkyVertices = ExpandSkyVertices();
    }
    uint8_t open(const std::string& path) {
        return OpenLevelIntoScene(scene, path, 128, 0.5f, ExpandSkyPicture(), MakeFloorRecord());
    }
    THeadlessDXDraw display{64, 48, 32, 0, THeadlessDXDraw::TDevice::Recording};
    TGrottixViewerScene scene{&display};
    test::TempDir dir;
};

TEST_F(ViewerSceneTest, OpeningAddsTheSkyAndAVisibleFloorAndHidesUnnamedObjects) {
    levelwriter::LevelDescription level;
    level.code = 3;
    level.tileCount = 1;
    levelwriter::Room room;
    room.vertices.resize(4);
    room.rectangles = {{{0, 1, 2, 3}, 0}, {{0, 1, 2, 3}, 55}};  // the second names no object texture
    level.rooms = {room};
    level.objectTextures.resize(1);
    levelwriter::WriteLevelFile(level, dir.file("level.tr2"));
    ASSERT_EQ(open(dir.file("level.tr2")), 0);
    ASSERT_NE(scene.SkyTexture, nullptr);
    EXPECT_EQ(scene.SkyTexture->Surface().ColorKey(), std::optional<uint32_t>(0u));
    ASSERT_EQ(scene.Objects.size(), 3u);
    EXPECT_FALSE(scene.Objects[0].Item->Hidden);
    EXPECT_TRUE(scene.Objects[1].Item->Hidden) << "the face without a texture has an empty name";
    const auto& floor = static_cast<TD3DQuadrAngle&>(*scene.Objects[2].Item);
    EXPECT_FALSE(floor.Hidden) << "the floor is added after unnamed objects are hidden";
    EXPECT_EQ(floor.Info.Corners[0].y, -1000);

    (*display.Recorder()).ClearCalls();
    scene.RenderScene(0);
    const auto& calls = (*display.Recorder()).Calls();
    const auto lastDraw = std::find_if(calls.rbegin(), calls.rend(), [](const auto& c) { return c.kind == TKind::DrawPrimitive; });
    ASSERT_NE(lastDraw, calls.rend());
    EXPECT_EQ(lastDraw->c, 320u) << "the sky is drawn last";
    EXPECT_EQ(lastDraw->a, uint32_t(D3DPT_TRIANGLESTRIP));
    EXPECT_EQ(lastDraw->renderStates[D3DRENDERSTATE_CULLMODE], uint32_t(D3DCULL_NONE));
    EXPECT_EQ(lastDraw->texture, &scene.SkyTexture->Surface());
}

TEST_F(ViewerSceneTest, AFailedOpenLeavesTheSceneAsItWas) {
    EXPECT_EQ(open(dir.file("missing.tr4")), 1);
    EXPECT_TRUE(scene.Objects.empty());
    EXPECT_EQ(scene.SkyTexture, nullptr);
    (*display.Recorder()).ClearCalls();
    scene.RenderScene(0);
    for (const auto& call : (*display.Recorder()).Calls()) EXPECT_NE(call.kind, TKind::DrawPrimitive);
    ASSERT_EQ(open(std::string(GROTTIX_GENERATED_DIR) + "/demo/demo-tr1.phd"), 0);
    const auto level = scene.Level;
    const size_t objects = scene.Objects.size();
    EXPECT_EQ(open(dir.file("missing.tr4")), 1);
    EXPECT_EQ(scene.Level, level);
    EXPECT_EQ(scene.Objects.size(), objects);
    EXPECT_NE(scene.SkyTexture, nullptr);
}

}  // namespace
}  // namespace grottix
