// Items play in the view: an animated item's meshes move with the level's clock, through the
// moveable's mesh tree, and the clock at 0 shows exactly the picture of the level standing still.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/Polygon.h"
#include "level_writer/LevelWriter.h"
#include "support/AnimatedLevel.h"
#include "support/TempDir.h"
#include "viewer/HeadlessViewer.h"

namespace grottix {
namespace {

class ItemAnimationTest : public ::testing::TestWithParam<int> {
protected:
    void open(THeadlessViewer& viewer) {
        static const char* const names[] = {"", "a.phd", "a.tub", "a.tr2", "a.trg", "a.tr2", "a.tr4", "a.trc"};
        const std::string path = dir.file(names[GetParam()]);
        levelwriter::WriteLevelFile(test::AnimatedLevel(GetParam()), path);
        report = TImportReport{};  // an import hands its animator on to the scene
        ASSERT_EQ(viewer.Open(path, 0.5f, &report), 0);
        // Below the item's upper mesh, looking up at it (its face shows downwards).
        viewer.Scene.SetCameraPosition({0.3f, -3.7f, 6.5f});
        viewer.Scene.SetCameraRotation({0.9f, 0, 0});
    }
    // The positions mesh `mesh` of the animated item (entity 1) has in the scene now.
    std::vector<TD3DVector> meshVertices(int mesh) const {
        std::vector<TD3DVector> out;
        for (const TItemMeshSpans& placed : report.ItemSpans.at(1).meshes)
            if (placed.index == mesh)
                for (const TVertexSpan& span : placed.spans)
                    out.insert(out.end(), span.polygon->Positions.begin() + span.first,
                               span.polygon->Positions.begin() + span.first + span.count);
        return out;
    }
    // Whether a vertex stands at the level point (x, y, z) (level units, y down).
    static bool hasVertexAt(const std::vector<TD3DVector>& vertices, double x, double y, double z) {
        return std::any_of(vertices.begin(), vertices.end(), [&](const TD3DVector& v) {
            return std::abs(v.x * 128 - x) < 0.01 && std::abs(-v.y * 128 - y) < 0.01 && std::abs(v.z * 128 - z) < 0.01;
        });
    }
    static bool samePicture(const TBitmap& a, const TBitmap& b) {
        for (int y = 0; y < a.Height(); ++y)
            if (!std::equal(a.ScanLine(y), a.ScanLine(y) + a.Width() * 3, b.ScanLine(y))) return false;
        return true;
    }

    test::TempDir dir;
    TImportReport report;
};

TEST_P(ItemAnimationTest, TheItemMovesWithTheClockAndTimeZeroIsTheStillPicture) {
    THeadlessViewer still(160, 120, 1);
    open(still);
    still.Scene.ItemAnimator.reset();
    still.DrawFrame();
    const TBitmap stillPicture = still.Picture();

    THeadlessViewer viewer(160, 120, 1);
    open(viewer);
    ASSERT_EQ(viewer.Scene.ItemAnimator->Count(), 1u) << "the animated item plays, the player's start does not";
    viewer.DrawFrame();
    EXPECT_TRUE(samePicture(viewer.Picture(), stillPicture)) << "time 0";

    // Frame 4 of animation 0 is its second key frame: offset (20, 40, 60), no mesh turned. The item
    // stands at (0, 512, 1024), mesh 1 hangs 256 above mesh 0.
    viewer.Scene.FixLevelTime(4.5 / 30);
    viewer.DrawFrame();
    EXPECT_TRUE(hasVertexAt(meshVertices(0), 20 + 64, 512 + 40, 1024 + 60));
    EXPECT_TRUE(hasVertexAt(meshVertices(0), 20, 552, 1084 + 64));
    EXPECT_TRUE(hasVertexAt(meshVertices(1), 20, 552 - 256, 1084));
    EXPECT_FALSE(samePicture(viewer.Picture(), stillPicture)) << "the item moved in the view";

    // Long after, in the idle, and back: the vertices come back exactly, however far they went.
    viewer.Scene.FixLevelTime(3600.2);
    viewer.DrawFrame();
    viewer.Scene.FixLevelTime(0);
    viewer.DrawFrame();
    EXPECT_TRUE(samePicture(viewer.Picture(), stillPicture)) << "back at time 0";

    // Animate Items off: the item stands in its first pose whatever the clock says.
    viewer.Scene.SetItemsAnimated(false);
    viewer.Scene.FixLevelTime(4.5 / 30);
    viewer.DrawFrame();
    EXPECT_TRUE(samePicture(viewer.Picture(), stillPicture)) << "not animated";
}

INSTANTIATE_TEST_SUITE_P(Codes, ItemAnimationTest, ::testing::Values(1, 2, 3, 4, 5, 6, 7));

// The square mesh with sides of `side` units.
std::vector<uint16_t> squareOfSide(int code, uint16_t side) {
    std::vector<uint16_t> words = test::SquareMesh(code);
    for (size_t i = 6; i < 18; ++i)
        if (words[i] == 64) words[i] = side;
    return words;
}

// Lara's moveable (placeholders of side 64) with, beside it, the skin (side 128) and the joints
// (side 32) that TR4 and TR5 keep in moveables 8 and 9.
levelwriter::LevelDescription levelWithLara(int code) {
    levelwriter::LevelDescription level = test::AnimatedLevel(code);
    const std::vector<uint16_t> placeholder = test::SquareMesh(code), skin = squareOfSide(code, 128), joint = squareOfSide(code, 32);
    const auto skinAt = uint32_t(placeholder.size() * 2), jointAt = uint32_t(skinAt + skin.size() * 2);
    level.meshData.insert(level.meshData.end(), skin.begin(), skin.end());
    level.meshData.insert(level.meshData.end(), joint.begin(), joint.end());
    level.meshPointers = {0, 0, skinAt, skinAt, jointAt, jointAt};
    level.moveables->push_back({0, 2, 0, 0, 0, 0});
    level.moveables->push_back({8, 2, 2, 0, 0, 0});
    level.moveables->push_back({9, 2, 4, 0, 0, 0});
    return level;
}

// The farthest two of the vertices apart, in level units.
double widthOf(const std::vector<TD3DVector>& vertices) {
    double widest = 0;
    for (const TD3DVector& a : vertices)
        for (const TD3DVector& b : vertices) widest = std::max(widest, double(DistanceBetween(a, b)) * 128);
    return widest;
}

TEST(LaraAtTheStart, TrFourAndFiveDrawHerSkinAndJointsInPlaceOfThePlaceholdersAndShowLaraHidesHer) {
    for (const int code : {5, 6, 7}) {
        SCOPED_TRACE(code);
        test::TempDir dir;
        const std::string path = dir.file(code == 5 ? "a.tr2" : code == 6 ? "a.tr4" : "a.trc");
        levelwriter::WriteLevelFile(levelWithLara(code), path);
        THeadlessViewer viewer(64, 48, 1);
        TImportReport report;
        ASSERT_EQ(viewer.Open(path, 0.5f, &report), 0);
        ASSERT_EQ(report.ItemSpans.count(0), 1u) << "the player's start is drawn";
        const std::vector<TItemMeshSpans>& meshes = report.ItemSpans.at(0).meshes;
        ASSERT_EQ(meshes.size(), 2u);
        std::vector<TD3DVector> first;
        for (const TVertexSpan& span : meshes[0].spans)
            first.insert(first.end(), span.polygon->Positions.begin() + span.first, span.polygon->Positions.begin() + span.first + span.count);
        if (code == 5) {
            EXPECT_EQ(first.size(), 6u) << "TR3: her own mesh, one square";
            EXPECT_NEAR(widthOf(first), 64 * std::sqrt(2.0), 0.01);
        } else {
            EXPECT_EQ(first.size(), 12u) << "the skin's square and the joint's";
            EXPECT_NEAR(widthOf(first), 128 * std::sqrt(2.0), 0.01) << "the skin, not the placeholder";
        }
        EXPECT_EQ(viewer.Scene.ItemAnimator->Count(), 1u) << "she stands in her first frame";
        EXPECT_EQ(viewer.Scene.ItemCount, 1) << "the count is of the other items";

        viewer.Scene.SetLaraVisible(false);
        EXPECT_TRUE(meshes[0].spans[0].polygon->Hidden);
        viewer.Scene.SetLaraVisible(true);
        EXPECT_FALSE(meshes[0].spans[0].polygon->Hidden);
    }
}

}  // namespace
}  // namespace grottix
