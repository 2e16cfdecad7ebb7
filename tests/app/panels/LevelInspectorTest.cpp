// Picking and the selection outline on frames the CPU rasterizer drew, and the panels' tables over
// levels with odd entities and rooms.

#include <gtest/gtest.h>

#include "viewer/HeadlessViewer.h"
#include "viewer/ViewPicking.h"
#include "app/panels/ItemsModel.h"
#include "app/panels/RoomsModel.h"
#include "import/EyePlacement.h"
#include "support/ItemLevel.h"
#include "level/LevelGoTo.h"
#include "level/LevelStart.h"
#include "level/TombRaiderLevel.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

struct TPixels {
    int count = 0;
    double x = 0, y = 0;
    int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

template <typename Wanted>
TPixels find(const TBitmap& picture, Wanted wanted) {
    TPixels found;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            if (!wanted(picture.Pixel(x, y))) continue;
            ++found.count;
            found.x += x, found.y += y;
            found.left = std::min(found.left, x), found.right = std::max(found.right, x);
            found.top = std::min(found.top, y), found.bottom = std::max(found.bottom, y);
        }
    if (found.count) found.x /= found.count, found.y /= found.count;
    return found;
}

bool red(TColor c) { return GetRValue(c) > 150 && GetGValue(c) < 80 && GetBValue(c) < 80; }
bool green(TColor c) { return GetGValue(c) > 100 && GetRValue(c) < 80; }
bool yellow(TColor c) { return GetRValue(c) > 200 && GetGValue(c) > 180 && GetBValue(c) < 80; }

class LevelInspectorTest : public ::testing::Test {
protected:
    void open(int code) {
        static const char* const names[] = {"items.phd", "items.phd", "items.tub", "items.tr2", "items.trg", "items.tr2", "items.tr4", "items.trc"};
        const std::string path = dir.file(names[code]);
        levelwriter::WriteLevelFile(test::ItemLevel(code), path);
        ASSERT_EQ(viewer.Open(path), 0);
        ASSERT_TRUE(viewer.Scene.Level);
    }
    TPick pickAt(double x, double y) {
        const auto ray = ViewRay(viewer.Scene, kWidth, kHeight, x, y);
        EXPECT_TRUE(ray);
        if (!ray) return {};
        return PickAlongRay(*ray, *viewer.Scene.Level, viewer.Scene.ItemBounds, {0, 0}, viewer.Scene.RoomsShown, 128);
    }

    static constexpr int kWidth = 320, kHeight = 240;
    test::TempDir dir;
    THeadlessViewer viewer{kWidth, kHeight, 1};
};

TEST_F(LevelInspectorTest, AClickWhereTheItemWasDrawnPicksItAndTheFloorAroundItPicksTheRoom) {
    for (int code = 1; code <= 7; ++code) {
        SCOPED_TRACE(code);
        open(code);
        // Turned right and looking down a little: the item is off the middle of the frame.
        viewer.Scene.SetCameraRotation({-0.25f, -0.3f, 0});
        viewer.DrawFrame(false);
        const TBitmap picture = viewer.Picture();
        const TPixels item = find(picture, red), floor = find(picture, green);
        ASSERT_GT(item.count, 20);
        ASSERT_GT(floor.count, 20);
        EXPECT_GT(std::abs(item.x - kWidth / 2.0), 20);
        EXPECT_EQ(pickAt(item.x + 0.5, item.y + 0.5).item, 1);
        EXPECT_EQ(pickAt(item.left + 0.5, item.top + 0.5).item, 1) << "its top left corner";
        const TPick below = pickAt(item.x + 0.5, kHeight - 2.5);
        EXPECT_EQ(below.item, -1);
        EXPECT_EQ(below.room, 0) << "the floor in front of it";
        const TPick sky = pickAt(kWidth / 2.0, 0.5);
        EXPECT_EQ(sky.item, -1);
        EXPECT_EQ(sky.room, -1);
    }
}

TEST_F(LevelInspectorTest, TheSelectedItemIsOutlinedAroundWhereItIsDrawnAndNothingElseIs) {
    open(1);
    viewer.DrawFrame(false);
    EXPECT_EQ(find(viewer.Picture(), yellow).count, 0);
    ASSERT_EQ(viewer.Scene.ItemBounds.count(1), 1u);
    viewer.Scene.Outlined = viewer.Scene.ItemBounds.at(1);
    viewer.DrawFrame(false);
    const TBitmap picture = viewer.Picture();
    const TPixels outline = find(picture, yellow), item = find(picture, red);
    ASSERT_GT(outline.count, 40);
    EXPECT_LE(outline.left, item.left);
    EXPECT_GE(outline.right, item.right);
    EXPECT_LE(outline.top, item.top);
    EXPECT_GE(outline.bottom, item.bottom);
    EXPECT_LT(outline.right - outline.left, kWidth / 2);
}

TEST_F(LevelInspectorTest, GoToTheItemShowsItInEveryVersion) {
    for (int code = 1; code <= 7; ++code) {
        SCOPED_TRACE(code);
        open(code);
        viewer.Scene.SetCameraRotation({0, 3, 0});  // looking away
        viewer.DrawFrame(false);
        ASSERT_EQ(find(viewer.Picture(), red).count, 0);
        PlaceEye(viewer.Scene, GoToItem(*viewer.Scene.Level, 1), 128);
        viewer.DrawFrame(false);
        EXPECT_GT(find(viewer.Picture(), red).count, 100);
        EXPECT_EQ(RoomContaining(*viewer.Scene.Level, viewer.Scene.EyePosition.x * 128, -viewer.Scene.EyePosition.y * 128,
                                 viewer.Scene.EyePosition.z * 128),
                  0);
    }
}

TEST(LevelInspectorTables, OddEntitiesAndRoomsAreListedAsTheyAre) {
    test::TempDir dir;
    levelwriter::LevelDescription description = test::ItemLevel(3);
    std::vector<levelwriter::Room> rooms(3, description.rooms[0]);
    rooms[1].alternateRoom = 2;
    rooms[2].flags = 0x1;
    rooms[2].alternateGroup = 3;
    description.rooms = rooms;
    // Rooms that do not exist, a type no list names, and more entities than a screen shows.
    std::vector<levelwriter::Entity> entities(10001, levelwriter::Entity{10, 1, 0, 512, 0, 16384});
    entities[5].room = 77;
    entities[6].room = -3;
    entities[7].type = 31000;
    entities[8].flags = 0x3E00;
    description.entities = entities;
    levelwriter::WriteLevelFile(description, dir.file("odd.tr2"));
    TTombRaiderLevel level;
    ASSERT_EQ(level.LoadLevel(dir.file("odd.tr2")), 0);

    const std::vector<TItemRow> items = ItemRows(&level);
    ASSERT_EQ(items.size(), 10001u);
    EXPECT_EQ(items[5].room, 77);
    EXPECT_EQ(items[6].room, -3);
    EXPECT_DOUBLE_EQ(items[0].facing, 90);
    EXPECT_EQ(items[8].flags, 0x3E00);
    EXPECT_FALSE(items[8].flagsText.isEmpty());
    TItemsModel model;
    model.SetRows(items);
    EXPECT_EQ(model.rowCount(), 10001);

    const std::vector<TRoomRow> roomRows = RoomRows(&level);
    ASSERT_EQ(roomRows.size(), 3u);
    EXPECT_EQ(roomRows[1].items, 10001 - 2);
    EXPECT_EQ(roomRows[1].alternate, 2);
    EXPECT_EQ(roomRows[2].alternateOf, 1);
    EXPECT_EQ(roomRows[0].alternate, -1);
    EXPECT_TRUE(roomRows[2].water);
    EXPECT_FALSE(roomRows[1].water);
    EXPECT_EQ(roomRows[0].rectangles, 1);
    EXPECT_TRUE(ItemRows(nullptr).empty());
}

}  // namespace
}  // namespace grottix
