// Go to: in every version, each item of a level with walls, a second room, an alcove, a low room,
// items in rooms that do not exist and items outside every room gets an eye standing in open space
// and looking at it; each room gets an eye over its largest floor, looking along its longer side.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "level/LevelFixtures.h"
#include "level/LevelGoTo.h"
#include "level/LevelSectors.h"
#include "level/LevelSpace.h"
#include "level/TombRaiderLevel.h"

namespace grottix {
namespace {

using namespace levelwriter;

constexpr double kPi = std::numbers::pi;

Sector open(int8_t ceiling = -8) { return {0, 0xFFFF, 255, 0, 255, ceiling}; }
Sector wall() { return {0, 0xFFFF, 255, -127, 255, -127}; }

// A room of columns x rows sectors at column x0, walled round except where opening says.
Room walledRoom(int x0, uint16_t columns, uint16_t rows, int8_t ceiling, auto opening) {
    Room room;
    room.x = x0 * 1024;
    room.yBottom = 0;
    room.yTop = ceiling * 256;
    room.xSectors = columns;
    room.zSectors = rows;
    room.sectorList.emplace();
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) {
            const bool border = c == 0 || r == 0 || c == columns - 1 || r == rows - 1;
            room.sectorList->push_back(border && !opening(c, r) ? wall() : open(ceiling));
        }
    return room;
}

Entity at(int16_t room, double column, double row, uint16_t angle, int16_t type = 7) {
    return {type, room, int32_t(column * 1024), 0, int32_t(row * 1024), angle};
}

// Room 0: 7 x 7 sectors, a wall at column 2, row 5 making an alcove at column 1, row 5; it opens east
// at row 3 into room 1 (4 x 5 sectors, ceiling 768 units up), whose border column overlaps its own.
LevelDescription levelWithWalls(int code) {
    LevelDescription level = test::SmallLevel(code);
    level.rooms = {walledRoom(0, 7, 7, -8, [](int c, int r) { return c == 6 && r == 3; }),
                   walledRoom(6, 4, 5, -3, [](int c, int r) { return c == 0 && r == 3; })};
    (*level.rooms[0].sectorList)[2 * 7 + 5] = wall();
    level.entities = std::vector<Entity>{
        at(0, 1.5, 1.5, 32768),          // faces the wall of row 0
        at(0, 1.5, 5.5, 16384),          // in the alcove, facing its wall
        at(0, 5.5, 3.5, 16384, 0),       // the player, facing the opening
        at(1, 8.5, 2.5, 49152),          // faces back through the opening
        at(99, 7.5, 1.5, 0),             // in a room that does not exist, but inside room 1
        at(-1, -40.0, 3.0, 0),           // outside every room
        at(0, 3.5, 6.9, 0),              // sunk into the south wall
    };
    return level;
}

TTombRaiderLevel load(const LevelDescription& description) {
    TTombRaiderLevel level;
    EXPECT_EQ(level.LoadLevelFromBytes(WriteLevel(description), test::FileNameFor(description.code)), 0);
    return level;
}

// The eye stands in the room it names: inside the box, over a sector that is no wall, between its
// floor and ceiling.
void expectInsideItsRoom(const TTombRaiderLevel& level, const TEyePlacement& eye) {
    ASSERT_GE(eye.room, 0);
    ASSERT_LT(size_t(eye.room), level.Rooms.size());
    const TRoomRecord& room = level.Rooms[size_t(eye.room)];
    const auto sector = SectorAt(room, int(std::floor((eye.x - room.x) / 1024)), int(std::floor((eye.z - room.z) / 1024)));
    ASSERT_TRUE(sector) << eye.x << ", " << eye.z;
    EXPECT_FALSE(sector->IsWall()) << eye.x << ", " << eye.z;
    EXPECT_GT(eye.y, sector->ceiling * 256.0);
    EXPECT_LT(eye.y, sector->floor * 256.0);
    EXPECT_GE(eye.y, room.yTop);
    EXPECT_LE(eye.y, room.yBottom);
}

// The angle between where the eye looks and the point, in degrees.
double offAxis(const TEyePlacement& eye, double x, double y, double z) {
    const double fx = std::sin(eye.yaw) * std::cos(eye.pitch), fy = std::sin(eye.pitch), fz = std::cos(eye.yaw) * std::cos(eye.pitch);
    const double dx = x - eye.x, dy = y - eye.y, dz = z - eye.z, length = std::hypot(dx, dy, dz);
    return std::acos(std::clamp((fx * dx + fy * dy + fz * dz) / length, -1.0, 1.0)) * 180 / kPi;
}

TEST(LevelGoTo, EveryItemOfEveryVersionIsLookedAtFromOpenSpace) {
    for (int code = 1; code <= 7; ++code) {
        SCOPED_TRACE(code);
        const LevelDescription description = levelWithWalls(code);
        const TTombRaiderLevel level = load(description);
        for (size_t i = 0; i < description.entities->size(); ++i) {
            SCOPED_TRACE(i);
            const Entity& item = (*description.entities)[i];
            const TEyePlacement eye = GoToItem(level, i);
            expectInsideItsRoom(level, eye);
            EXPECT_LT(offAxis(eye, item.x, item.y - 128, item.z), 30);
            if (item.x >= 0) {
                EXPECT_LT(std::hypot(eye.x - item.x, eye.z - item.z), 1536) << "a sector or so away";
            }
        }
    }
}

TEST(LevelGoTo, AFreeItemIsFramedFromTheSideItFacesAtItsOwnHeight) {
    const TTombRaiderLevel level = load(levelWithWalls(3));
    const TEyePlacement player = GoToItem(level, 2);  // faces +x, open on every side
    EXPECT_NEAR(player.x, 5.5 * 1024 + 384 / 0.4, 1) << "as far as frames a person-sized item";
    EXPECT_NEAR(player.z, 3.5 * 1024, 1);
    EXPECT_EQ(player.room, 0) << "the room the item names comes first";
    EXPECT_NEAR(player.yaw, -kPi / 2, 1e-6);
    EXPECT_NEAR(player.y, -256, 1) << "at the item's middle";
    const TEyePlacement alcove = GoToItem(level, 1);  // walls east, west and south: only north is open
    EXPECT_NEAR(alcove.x, 1.5 * 1024, 1);
    EXPECT_LT(alcove.z, 5 * 1024);
    // A bat: a small item high under the ceiling of room 0 (2048 up) is seen close, at its height.
    const TEyePlacement bat = GoToItem(level, 2, TItemExtent{5.5 * 1024, -1900, 3.5 * 1024, 100});
    expectInsideItsRoom(level, bat);
    EXPECT_NEAR(std::hypot(bat.x - 5.5 * 1024, bat.z - 3.5 * 1024), 250, 1) << "a small item is framed from near";
    EXPECT_NEAR(bat.y, -1900, 1) << "at its height, under the ceiling";
    EXPECT_LT(offAxis(bat, 5.5 * 1024, -1900, 3.5 * 1024), 1);
    const TEyePlacement low = GoToItem(level, 3);  // room 1 is 768 units tall
    EXPECT_NEAR(low.y, -256, 1);
}

TEST(LevelGoTo, ARoomIsSeenWholeFromHighInItsFarthestOpenCorner) {
    const TTombRaiderLevel level = load(levelWithWalls(5));
    const TEyePlacement square = GoToRoom(level, 0);
    expectInsideItsRoom(level, square);
    EXPECT_GE(std::hypot(square.x - 3.5 * 1024, square.z - 3.5 * 1024), 2.5 * 1024) << "as far from the middle as the open floor goes";
    EXPECT_NEAR(square.y, -2048 + 64, 1) << "under the ceiling";
    EXPECT_LT(offAxis(square, 3.5 * 1024, 0, 3.5 * 1024), 1) << "looking at the middle of the floor";
    const TEyePlacement deep = GoToRoom(level, 1);
    expectInsideItsRoom(level, deep);
}

TEST(LevelGoTo, BadIndicesAndLevelsWithoutRoomsGiveASanePlace) {
    const TTombRaiderLevel level = load(levelWithWalls(1));
    expectInsideItsRoom(level, GoToItem(level, 1000));
    expectInsideItsRoom(level, GoToRoom(level, 1000));
    LevelDescription crowded = levelWithWalls(2);
    crowded.entities->resize(12000, at(0, 3.5, 3.5, 0));
    const TTombRaiderLevel crowd = load(crowded);
    expectInsideItsRoom(crowd, GoToItem(crowd, 11999));
    LevelDescription empty = levelWithWalls(4);
    empty.rooms.clear();
    const TTombRaiderLevel roomless = load(empty);
    for (const TEyePlacement& eye : {GoToItem(roomless, 0), GoToRoom(roomless, 0)}) {
        EXPECT_EQ(eye.room, -1);
        EXPECT_TRUE(std::isfinite(eye.x) && std::isfinite(eye.y) && std::isfinite(eye.z) && std::isfinite(eye.pitch));
    }
}

TEST(LevelGoTo, ASquareIsLookedAtFromItsOwnOpenSpaceOrFromBesideIt) {
    for (int code : {1, 4, 7}) {
        SCOPED_TRACE(code);
        const TTombRaiderLevel level = load(levelWithWalls(code));
        const TEyePlacement low = GoToSquare(level, 1, 1, 2);  // room 1 is 768 units tall
        expectInsideItsRoom(level, low);
        EXPECT_EQ(low.room, 1);
        EXPECT_EQ(int(std::floor(low.x / 1024)), 7) << "over the square itself";
        EXPECT_LT(offAxis(low, 7.5 * 1024, 0, 2.5 * 1024), 1);
        const TEyePlacement wallSquare = GoToSquare(level, 0, 2, 5);
        expectInsideItsRoom(level, wallSquare);
        EXPECT_LT(std::hypot(wallSquare.x - 2.5 * 1024, wallSquare.z - 5.5 * 1024), 1536) << "on a square beside it";
        EXPECT_LT(offAxis(wallSquare, 2.5 * 1024, 0, 5.5 * 1024), 1);
    }
}

TEST(LevelGoTo, APointInTheAirIsLookedAtFromOpenSpaceBesideIt) {
    for (int code : {1, 6}) {
        SCOPED_TRACE(code);
        const TTombRaiderLevel level = load(levelWithWalls(code));
        struct TPoint {
            int room;
            double x, y, z;
        };
        // High in the alcove, in the low room, with no room known, inside the wall square.
        const TPoint points[] = {{0, 1.5 * 1024, -1500, 5.5 * 1024}, {1, 8.5 * 1024, -400, 2.5 * 1024},
                                 {-1, 3.5 * 1024, -1000, 3.5 * 1024}, {0, 2.5 * 1024, -500, 5.5 * 1024}};
        for (const TPoint& p : points) {
            SCOPED_TRACE(p.x);
            const TEyePlacement eye = GoToPoint(level, p.room, p.x, p.y, p.z);
            expectInsideItsRoom(level, eye);
            EXPECT_LT(offAxis(eye, p.x, p.y, p.z), 1);
            EXPECT_LT(std::hypot(eye.x - p.x, eye.z - p.z), 1536) << "a sector or so away";
        }
        const TEyePlacement outside = GoToPoint(level, 7, -40000, 0, 0);
        expectInsideItsRoom(level, outside);
        EXPECT_LT(offAxis(outside, -40000, 0, 0), 1);
        // Straight above the alcove at the edge of the coordinates, as a damaged file may put it: a
        // place at once.
        expectInsideItsRoom(level, GoToPoint(level, 0, 1.5 * 1024, INT32_MIN, 5.5 * 1024));
    }
}

// Room 0 and room 1 overlap on room 0's east border column, open only at row 3; room 2 stands on
// top of room 0.
TEST(LevelSpace, APointIsInTheRoomWhoseOpenSquareHoldsItWhereverTheBoxesOverlap) {
    LevelDescription description = levelWithWalls(4);
    description.rooms.push_back(walledRoom(0, 7, 7, -16, [](int, int) { return false; }));
    description.rooms[2].yBottom = -2048;
    for (Sector& sector : *description.rooms[2].sectorList)
        if (sector.floor != -127) sector.floor = -8;
    const TTombRaiderLevel level = load(description);
    const auto roomAt = [&](double column, double y, double row, int preferred = -1, std::vector<uint8_t> shown = {}) {
        return RoomHoldingPoint(level, shown, column * 1024, y, row * 1024, preferred);
    };
    EXPECT_EQ(roomAt(3.5, -500, 3.5), 0);
    EXPECT_EQ(roomAt(7.5, -500, 2.5), 1) << "room 1's open square, beside room 0's box";
    EXPECT_EQ(roomAt(6.5, -500, 1.5), -1) << "a wall square of both rooms";
    EXPECT_EQ(roomAt(6.5, -500, 3.5, 1), 1) << "the opening belongs to both: the room the eye was in keeps it";
    EXPECT_EQ(roomAt(6.5, -500, 3.5, 0), 0);
    EXPECT_EQ(roomAt(3.5, -3000, 3.5), 2) << "the room above";
    EXPECT_EQ(roomAt(3.5, -3000, 3.5, -1, {1, 1, 0}), -1) << "unless it is not shown";
    EXPECT_EQ(roomAt(3.5, -5000, 3.5), -1) << "above the level";
    EXPECT_EQ(roomAt(-3.5, -500, 3.5), -1) << "beside the level";
}

}  // namespace
}  // namespace grottix
