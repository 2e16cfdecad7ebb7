#include <gtest/gtest.h>

#include <algorithm>

#include "device/Direct3DTexture.h"
#include "engine/Polygon.h"
#include "engine/Scene.h"
#include "engine/StubObject.h"
#include "device/HeadlessDXDraw.h"
#include "device/RecordingDevice.h"

namespace grottix {
namespace {

using TKind = TDeviceCall::TKind;

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        display.Initialize();
        TBitmap red(4, 4, TPixelFormat::pf24bit), blue(4, 4, TPixelFormat::pf24bit);
        red.Rectangle(0, 0, 4, 4, 0, RGB(255, 0, 0), RGB(255, 0, 0));
        blue.Rectangle(0, 0, 4, 4, 0, RGB(0, 0, 255), RGB(0, 0, 255));
        scene.AddTextureFromBitmap("red", red);
        scene.AddTextureFromBitmap("blue", blue);
        recorder().ClearCalls();
    }
    TRecordingDevice& recorder() { return (*display.Recorder()); }
    std::vector<const TDeviceCall*> callsOf(TKind kind) {
        std::vector<const TDeviceCall*> found;
        for (const auto& call : recorder().Calls())
            if (call.kind == kind) found.push_back(&call);
        return found;
    }
    TDirectDrawSurface* surfaceOf(const std::string& name) { return &scene.GetTexture(name)->Surface(); }

    THeadlessDXDraw display{64, 48, 32, 0, THeadlessDXDraw::TDevice::Recording};
    TD3DScene scene{&display};
};

TD3DPolygonInfo listPolygon(int triangles, const std::string& primary, const std::string& secondary = "") {
    TD3DPolygonInfo info;
    info.PrimitiveType = 4;
    info.VertexCount = int16_t(3 * triangles);
    info.Vertices.resize(size_t(info.VertexCount));
    info.FrameCount = 1;
    info.Passes = 16;
    info.CullMode = 1;
    info.TextureNames = {primary, secondary, "", ""};
    return info;
}

TEST_F(DrawingTest, ColourKeyedPolygonDrawsOnceWithBlackAsKey) {
    const auto info = listPolygon(2, "red");
    scene.AddObject(kKindPolygon, &info)->Render();
    const auto draws = callsOf(TKind::DrawPrimitive);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->a, uint32_t(D3DPT_TRIANGLELIST));
    EXPECT_EQ(draws[0]->c, 6u);
    EXPECT_EQ(draws[0]->texture, surfaceOf("red"));
    EXPECT_EQ(draws[0]->textureKey, std::optional<uint32_t>(0u));
    EXPECT_EQ(draws[0]->renderStates[D3DRENDERSTATE_CULLMODE], uint32_t(D3DCULL_NONE));
}

TEST_F(DrawingTest, TwoTexturesAreBlendedSecondaryFirst) {
    const auto info = listPolygon(1, "red", "blue");
    scene.AddObject(kKindPolygon, &info)->Render();
    const auto draws = callsOf(TKind::DrawPrimitive);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0]->texture, surfaceOf("blue"));
    EXPECT_EQ(draws[0]->renderStates[D3DRENDERSTATE_SRCBLEND], uint32_t(D3DBLEND_INVSRCCOLOR));
    EXPECT_EQ(draws[0]->renderStates[D3DRENDERSTATE_DESTBLEND], uint32_t(D3DBLEND_SRCCOLOR));
    EXPECT_EQ(draws[1]->texture, surfaceOf("red"));
    EXPECT_EQ(draws[1]->renderStates[D3DRENDERSTATE_SRCBLEND], uint32_t(D3DBLEND_INVDESTCOLOR));
    EXPECT_EQ(draws[1]->renderStates[D3DRENDERSTATE_DESTBLEND], uint32_t(D3DBLEND_INVSRCCOLOR));
    EXPECT_EQ(draws[1]->renderStates[D3DRENDERSTATE_ALPHABLENDENABLE], 1u);
    EXPECT_EQ(recorder().GetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE), 0u) << "blending is off afterwards";
}

TEST_F(DrawingTest, SafeModeDrawsAListOneTrianglePerCall) {
    const auto info = listPolygon(3, "red");
    TD3DObject* polygon = scene.AddObject(kKindPolygon, &info);
    polygon->SetSafeMode(true);
    polygon->Render();
    const auto draws = callsOf(TKind::DrawPrimitive);
    ASSERT_EQ(draws.size(), 3u);
    for (const auto* draw : draws) {
        EXPECT_EQ(draw->c, 3u);
        EXPECT_EQ(draw->textureKey, std::optional<uint32_t>(0u));
    }
}

TEST_F(DrawingTest, HiddenObjectsAreNotDrawnButTheirEventsRun) {
    const auto info = listPolygon(1, "red");
    TD3DObject* polygon = scene.AddObject(kKindPolygon, &info);
    int after = 0;
    polygon->OnAfterRender = [&](TCustomDXDraw*) { ++after; };
    polygon->SetHidden(true);
    polygon->Render();
    polygon->SetHidden(false);
    polygon->OnBeforeRender = [](TCustomDXDraw*) { return false; };
    polygon->Render();
    EXPECT_TRUE(callsOf(TKind::DrawPrimitive).empty());
    EXPECT_EQ(after, 2);
}

TEST_F(DrawingTest, StubWithoutTexturesDrawsItsOwnColour) {
    TD3DStubObjectInfo info;
    info.Width = 1;
    info.Height = 1;
    info.Color = RGB(1, 2, 3);
    info.Passes = 16;
    scene.AddObject(kKindStub, &info)->Render();
    const auto draws = callsOf(TKind::DrawPrimitive);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->a, uint32_t(D3DPT_TRIANGLESTRIP));
    EXPECT_EQ(draws[0]->c, 4u);
    EXPECT_NE(draws[0]->texture, nullptr);
    EXPECT_FALSE(draws[0]->textureKey.has_value());
}

TEST_F(DrawingTest, AFrameClearsDrawsBetweenBeginAndEndAndUsesTheFillModeOfTheQuality) {
    const auto info = listPolygon(1, "red");
    scene.AddObject(kKindPolygon, &info);
    scene.TextureQuality = 5;
    scene.RenderScene(RGB(10, 20, 30));
    std::vector<TKind> order;
    for (const auto& call : recorder().Calls())
        if (call.kind == TKind::Clear || call.kind == TKind::BeginScene || call.kind == TKind::DrawPrimitive ||
            call.kind == TKind::EndScene)
            order.push_back(call.kind);
    EXPECT_EQ(order, (std::vector<TKind>{TKind::Clear, TKind::BeginScene, TKind::DrawPrimitive, TKind::EndScene}));
    const auto clears = callsOf(TKind::Clear);
    EXPECT_EQ(clears[0]->a, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    EXPECT_EQ(clears[0]->b, 0x000A141Eu);
    EXPECT_EQ(recorder().GetRenderState(D3DRENDERSTATE_FILLMODE), uint32_t(D3DFILL_WIREFRAME));
    EXPECT_EQ(recorder().GetRenderState(D3DRENDERSTATE_LIGHTING), 0u);
    scene.TextureQuality = 6;
    scene.RenderScene(0);
    EXPECT_EQ(recorder().GetRenderState(D3DRENDERSTATE_FILLMODE), uint32_t(D3DFILL_POINT));
}

TEST_F(DrawingTest, UpdateWritesOnlyTheMatricesItsMarksAsk) {
    scene.Update();
    recorder().ClearCalls();
    scene.SetCameraRotation({0, 1, 0});
    scene.Update();
    auto transforms = callsOf(TKind::SetTransform);
    ASSERT_EQ(transforms.size(), 1u);
    EXPECT_EQ(transforms[0]->a, uint32_t(D3DTRANSFORMSTATE_VIEW));
    EXPECT_EQ(transforms[0]->matrix.m[3][3], scene.NearDistance) << "m44 carries the near distance";

    recorder().ClearCalls();
    scene.Changes = ChangedLights;
    scene.Update();
    transforms = callsOf(TKind::SetTransform);
    ASSERT_EQ(transforms.size(), 2u) << "a lights-only change rewrites both matrices";
    EXPECT_EQ(transforms[1]->a, uint32_t(D3DTRANSFORMSTATE_WORLD));
}

TEST_F(DrawingTest, ViewTranslationMovesTheWorldAgainstTheEye) {
    scene.SetCameraPosition({1, 2, 3});
    scene.Update();
    const TD3DMatrix world = recorder().GetTransform(D3DTRANSFORMSTATE_WORLD);
    EXPECT_EQ(world.m[3][0], -1);
    EXPECT_EQ(world.m[3][1], -2);
    EXPECT_EQ(world.m[3][2], -3);
    EXPECT_EQ(world.m[0][0], 1);
}

TEST_F(DrawingTest, WithNearDistanceZeroAMoveSortsObjectsFarToNear) {
    scene.SetNearDistance(0);
    for (float z : {1.0f, 9.0f, 4.0f}) {
        auto info = listPolygon(1, "red");
        for (auto& v : info.Vertices) v.z = z;
        scene.AddObject(kKindPolygon, &info);
    }
    scene.LastUpdate = -100;
    scene.SetCameraRotation({0, 0.5f, 0});
    scene.Update();
    EXPECT_EQ(static_cast<TD3DPolygon&>(*scene.Objects[0].Item).Positions[0].z, 1) << "a turn alone never reorders";
    scene.SetCameraPosition({0, 0, -1});
    scene.LastUpdate = -100;
    scene.Update();
    std::vector<float> order;
    for (auto& entry : scene.Objects) order.push_back(static_cast<TD3DPolygon&>(*entry.Item).Positions[0].z);
    EXPECT_EQ(order, (std::vector<float>{9, 4, 1}));
}

}  // namespace
}  // namespace grottix
