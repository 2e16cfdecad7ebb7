// Rooms become cells: the box of the sector grid between the room's top and bottom, the portals'
// corners placed from the room's origin, both scaled and with y turned up, in the room layouts of
// every version; and alternate rooms stand in for each other.

#include <gtest/gtest.h>

#include "engine/Scene.h"
#include "import/LevelImport.h"
#include "level_writer/LevelWriter.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

using namespace levelwriter;

LevelDescription twoRooms(int code) {
    LevelDescription level;
    level.code = code;
    Room first;
    first.x = 1024;
    first.z = 2048;
    first.xSectors = 3;
    first.zSectors = 2;
    first.yTop = -1024;
    first.yBottom = 512;
    first.portalList = std::vector<Portal>{{1, {-1, 0, 0}, {{{3072, 0, 0}, {3072, 0, 1024}, {3072, -512, 1024}, {3072, -512, 0}}}}};
    first.alternateRoom = 1;
    Room second = first;
    second.x += 3072;
    second.portalList->clear();
    second.alternateRoom = -1;
    level.rooms = {first, second};
    return level;
}

TEST(CellImport, RoomsBecomeScaledBoxesWithTheirPortalsInEveryRoomLayout) {
    test::TempDir dir;
    for (const auto& [code, name] : {std::pair{1, "cells.phd"}, std::pair{5, "cells.tr2"}, std::pair{7, "cells.trc"}}) {
        const std::string path = dir.file(name);
        WriteLevelFile(twoRooms(code), path);
        TD3DScene scene(nullptr);
        ASSERT_EQ(ImportTombRaiderMap(scene, path, 128, 0), 0) << code;
        const auto& cells = scene.Visibility.Cells;
        ASSERT_EQ(cells.size(), 2u) << code;
        EXPECT_EQ(cells[0].Min, (TD3DVector{8, -4, 16})) << code;
        EXPECT_EQ(cells[0].Max, (TD3DVector{32, 8, 32})) << code;
        ASSERT_EQ(cells[0].Portals.size(), 1u) << code;
        const TCellPortal& portal = cells[0].Portals[0];
        EXPECT_EQ(portal.Beyond, 1);
        EXPECT_EQ(portal.Normal, (TD3DVector{-1, 0, 0}));
        EXPECT_EQ(portal.Corners[0], (TD3DVector{32, 0, 16}));
        EXPECT_EQ(portal.Corners[2], (TD3DVector{32, 4, 24}));
        EXPECT_EQ(cells[0].Alternate, 1);
        EXPECT_EQ(cells[1].Alternate, 0) << "an alternate stands in for its primary";
        EXPECT_TRUE(cells[1].Portals.empty());
    }
}

TEST(CellImport, AnAlternateNamingNoRoomIsIgnoredAndAResetForgetsTheCells) {
    test::TempDir dir;
    LevelDescription level = twoRooms(3);
    level.rooms[0].alternateRoom = 9;
    level.rooms[1].alternateRoom = 1;
    WriteLevelFile(level, dir.file("odd.tr2"));
    TD3DScene scene(nullptr);
    ASSERT_EQ(ImportTombRaiderMap(scene, dir.file("odd.tr2"), 1, 0), 0);
    EXPECT_EQ(scene.Visibility.Cells[0].Alternate, -1);
    EXPECT_EQ(scene.Visibility.Cells[1].Alternate, -1);
    scene.Reset();
    EXPECT_TRUE(scene.Visibility.Cells.empty());
}

}  // namespace
}  // namespace grottix
