#include <gtest/gtest.h>

#include "engine/Polygon.h"
#include "engine/Scene.h"
#include "engine/StubObject.h"

namespace grottix {
namespace {

TD3DGenericQuadrangleInfo quad(const std::string& name) {
    TD3DGenericQuadrangleInfo record;
    record.TextureName = name;
    return record;
}

TD3DGenericTriangleInfo triangle(const std::string& name) {
    TD3DGenericTriangleInfo record;
    record.TextureName = name;
    return record;
}

TD3DStubObjectInfo stub(int32_t id) {
    TD3DStubObjectInfo info;
    info.ID = id;
    info.Width = 2;
    info.Height = 4;
    info.Color = RGB(10, 20, 30);
    info.TextureNames[0] = "sprite";
    return info;
}

class SceneTest : public ::testing::Test {
protected:
    TD3DPolygon& polygonAt(int index) { return static_cast<TD3DPolygon&>(*scene.Objects[size_t(index)].Item); }
    TD3DScene scene{nullptr};
};

TEST_F(SceneTest, GenericTriangleWithANewNameStartsAPrelitKeyedListPolygon) {
    const auto record = triangle("->a.tr4::1");
    EXPECT_FALSE(scene.AddOrMergeObject(kKindGenericTriangle, &record));
    ASSERT_EQ(scene.Objects.size(), 1u);
    const TD3DPolygon& polygon = polygonAt(0);
    EXPECT_EQ(polygon.Info.Color, RGB(255, 255, 255));
    EXPECT_EQ(polygon.Info.PrimitiveType, kTriangleList);
    EXPECT_EQ(polygon.Info.Passes, 16);
    EXPECT_EQ(polygon.Info.CullMode, int32_t(D3DCULL_NONE));
    EXPECT_TRUE(polygon.Prelit);
    EXPECT_EQ(polygon.Count, 3);
    EXPECT_EQ(scene.Objects[0].Name, "->a.tr4::1");
}

TEST_F(SceneTest, GenericQuadrangleJoinsTheMostRecentPolygonWithItsTexture) {
    const auto first = quad("wall");
    const auto floor = quad("floor");
    scene.AddOrMergeObject(kKindGenericQuadrangle, &first);
    scene.AddOrMergeObject(kKindGenericQuadrangle, &floor);
    EXPECT_TRUE(scene.AddOrMergeObject(kKindGenericQuadrangle, &first));
    const auto shouted = quad("WALL");
    EXPECT_TRUE(scene.AddOrMergeObject(kKindGenericQuadrangle, &shouted));
    ASSERT_EQ(scene.Objects.size(), 2u);
    EXPECT_EQ(polygonAt(0).Count, 18);
    EXPECT_EQ(polygonAt(1).Count, 6);
}

TEST_F(SceneTest, AFullPolygonMakesTheNextFaceStartANewOne) {
    const auto record = quad("wall");
    scene.AddOrMergeObject(kKindGenericQuadrangle, &record);
    polygonAt(0).SetVertexCount(TD3DPolygon::kAppendLimit);
    EXPECT_FALSE(scene.AddOrMergeObject(kKindGenericQuadrangle, &record));
    EXPECT_EQ(scene.Objects.size(), 2u);
    EXPECT_TRUE(scene.AddOrMergeObject(kKindGenericQuadrangle, &record));
    EXPECT_EQ(polygonAt(1).Count, 12);
}

TEST_F(SceneTest, UnknownKindsAddNothing) {
    const auto record = quad("wall");
    EXPECT_FALSE(scene.AddOrMergeObject(55, &record));
    EXPECT_EQ(scene.AddObject(kKindStub, &record), nullptr) << "a record of another kind is refused";
    EXPECT_TRUE(scene.Objects.empty());
}

TEST_F(SceneTest, ResetRestartsIDsAndForgetsTheFile) {
    const auto record = quad("wall");
    scene.AddOrMergeObject(kKindGenericQuadrangle, &record);
    scene.FileName = "x.d3d";
    scene.Reset();
    EXPECT_EQ(IDCounter(), 0);
    EXPECT_TRUE(scene.FileName.empty());
    EXPECT_TRUE(scene.Objects.empty());
    EXPECT_FALSE(scene.Modified);
    EXPECT_EQ(scene.AddEmptyPolygon("wall", false, 1, true)->GetID(), 1);
}

TEST_F(SceneTest, StubsAreListedAndFoundByID) {
    const auto a = stub(7), b = stub(8), c = stub(7);
    scene.AddObject(kKindStub, &a);
    scene.AddObject(kKindStub, &b);
    scene.AddObject(kKindStub, &c);
    EXPECT_EQ(scene.Stubs.size(), 3u);
    std::vector<TD3DObject*> found;
    EXPECT_EQ(scene.GetObjectsOfID(7, found), 2);
    EXPECT_EQ(scene.CountItems(kKindStub), 3);
    EXPECT_EQ(scene.CountItems(kKindAny), 3);
    scene.HideItems(kKindStub, 7);
    EXPECT_TRUE(scene.Objects[0].Item->Hidden);
    EXPECT_FALSE(scene.Objects[1].Item->Hidden);
    scene.DeleteObject(0);
    EXPECT_EQ(scene.Stubs.size(), 2u);
    EXPECT_EQ(IDCounter(), 8);
}

TEST_F(SceneTest, MoveItemsOfAnUnknownKindStillMarksThePosition) {
    const auto a = stub(3);
    scene.AddObject(kKindStub, &a);
    scene.Changes = 0;
    scene.MoveItems(150, 3, 1, 2, 3);
    EXPECT_EQ(static_cast<TD3DStubObject&>(*scene.Objects[0].Item).Info.X, 0);
    EXPECT_EQ(scene.Changes, ChangedPosition);
    scene.MoveItems(kKindStub, 3, 1, 2, 3);
    EXPECT_EQ(static_cast<TD3DStubObject&>(*scene.Objects[0].Item).Info.Z, 3);
}

TEST_F(SceneTest, DeleteActionsOfRemovesEveryActionWithThatID) {
    for (int32_t id : {5, 3, 5}) {
        TD3DActionInfo info;
        info.ActionKind = kKindActionTranslate;
        info.ID = id;
        scene.AddAction(info);
    }
    scene.DeleteActionsOf(5);
    ASSERT_EQ(scene.Actions.size(), 1u);
    EXPECT_EQ(scene.Actions[0].Item->GetID(), 3);
}

TEST_F(SceneTest, SplitAllPolygonsReplacesEachPolygonByItsTriangles) {
    const auto a = stub(1);
    scene.AddObject(kKindStub, &a);
    const auto wall = quad("wall");
    scene.AddOrMergeObject(kKindGenericQuadrangle, &wall);
    scene.AddObject(kKindStub, &a);
    const auto floor = triangle("floor");
    scene.AddOrMergeObject(kKindGenericTriangle, &floor);
    scene.SplitAllPolygons();
    // The stubs stay first; two triangles of the wall and one of the floor follow.
    ASSERT_EQ(scene.Objects.size(), 5u);
    EXPECT_EQ(scene.Objects[0].Item->GetKind(), kKindStub);
    EXPECT_EQ(scene.Objects[1].Item->GetKind(), kKindStub);
    EXPECT_EQ(scene.Objects[2].Name, "wall");
    EXPECT_EQ(scene.Objects[4].Name, "floor");
    EXPECT_EQ(polygonAt(4).Count, 3);
    EXPECT_TRUE(scene.Changes & ChangedPosition);
}

TEST_F(SceneTest, ChildSceneWithoutAFileIsPlacedAndRefreshed) {
    TD3DSceneInfo info;
    info.ID = 4;
    info.Translation = {1, 2, 3};
    TD3DObject* child = scene.AddObject(kKindScene, &info);
    ASSERT_NE(child, nullptr);
    auto& childScene = static_cast<TD3DScene&>(*child);
    EXPECT_TRUE(childScene.Objects.empty());
    EXPECT_EQ(childScene.Changes, 0) << "refreshed";
    EXPECT_EQ(childScene.GetID(), 4);
    EXPECT_EQ(scene.ChildScenes.size(), 1u);
    EXPECT_EQ(childScene.Shared, scene.Shared) << "children share the texture registry";
    EXPECT_EQ(childScene.GetWorldTranslation(), (TD3DVector{1, 2, 3}));
}

TEST_F(SceneTest, CameraIgnoresAMoveBackToThePreviousPosition) {
    scene.SetCameraPosition({1, 0, 0});
    scene.SetCameraPosition({2, 0, 0});
    scene.Changes = 0;
    scene.SetCameraPosition({1, 0, 0});
    EXPECT_EQ(scene.EyePosition, (TD3DVector{2, 0, 0}));
    EXPECT_EQ(scene.Changes, 0);
    scene.MoveCamera({5, 5, 5});
    EXPECT_EQ(scene.PreviousEyePosition, scene.EyePosition);
    EXPECT_EQ(scene.Changes, ChangedPosition | ChangedLights);
}

TEST_F(SceneTest, CameraAnglesAreKeptBetweenMinusPiAndPi) {
    scene.SetCameraRotation({0, 4.0f, -4.0f});
    EXPECT_NEAR(scene.EyeRotation.y, 4.0f - 2 * 3.14159265f, 1e-5);
    EXPECT_NEAR(scene.EyeRotation.z, -4.0f + 2 * 3.14159265f, 1e-5);
    EXPECT_EQ(scene.Changes, ChangedRotation);
}

TEST_F(SceneTest, ClockPausesAndResumes) {
    scene.PauseClock();
    const double paused = scene.GetTime();
    EXPECT_TRUE(scene.Paused);
    scene.ResumeClock();
    EXPECT_FALSE(scene.Paused);
    EXPECT_GE(scene.PausedTime, 0);
    EXPECT_GE(scene.GetTime(), paused - 1e-3);
}

TEST_F(SceneTest, LightsColourVerticesUpToTheirRange) {
    TD3DStubObjectInfo info = stub(1);
    info.TextureNames = {};
    scene.AddObject(kKindStub, &info);
    auto& sprite = static_cast<TD3DStubObject&>(*scene.Objects[0].Item);
    EXPECT_EQ(sprite.Info.FrameCount, 0) << "a stub without texture names draws its own colour";
    EXPECT_FALSE(sprite.Picture.Empty());

    TD3DSceneLightInfo light;
    light.Color = RGB(200, 100, 0);
    light.SpecularColor = RGB(50, 50, 50);
    light.Range = 2;  // vertex 0 (-1, 2, 0) lies exactly 2 from the light; the others farther
    light.RangeFactor = 10;
    light.X = -1;
    light.Y = 2;
    light.Z = 2;
    scene.AddLight(light);
    EXPECT_EQ(sprite.Vertices[0].color, DeviceColor(RGB(200, 100, 0))) << "exactly at the range: the light's colour";
    EXPECT_EQ(sprite.Vertices[0].specular, 0u);
    EXPECT_EQ(sprite.Vertices[3].color, DeviceColor(RGB(10, 20, 30))) << "beyond it: the base colour";
}

TEST_F(SceneTest, ActionsRunOnTheirFirstCallAndThenOncePerInterval) {
    const auto a = stub(9);
    scene.AddObject(kKindStub, &a);
    TD3DActionInfo info;
    info.ActionKind = kKindActionTranslate;
    info.TargetKind = kKindAny;
    info.TargetID = 9;
    info.Move = {1, 0, 0};
    info.Period = 1;
    scene.AddAction(info);
    TD3DAction& action = *scene.Actions[0].Item;
    action.Execute();
    EXPECT_TRUE(action.Started);
    const double last = action.LastTime;
    scene.FrameInterval = 1000;
    action.Execute();
    EXPECT_EQ(action.LastTime, last) << "the interval has not passed";
}

}  // namespace
}  // namespace grottix
