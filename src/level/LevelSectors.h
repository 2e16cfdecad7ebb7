#pragma once
// A room's grid of sectors (squares of 1024 level units), decoded from the 8-byte records the room
// keeps raw. Sectors are stored column by column: the one at column x, row z is record
// x * zSectors + z; column x runs along the level's x axis from the room's origin.

#include <cstdint>
#include <optional>
#include <vector>

namespace grottix {

struct TRoomRecord;

constexpr int32_t kSectorSize = 1024;
constexpr int32_t kClickSize = 256;
constexpr int8_t kWallHeight = -127;  // a floor or ceiling of -127 clicks marks a wall square

struct TLevelSector {
    uint16_t floorDataIndex = 0;  // into the level's floor-data words; 0: no functions
    uint16_t box = 0;
    uint8_t roomBelow = 255;      // 255: none
    int8_t floor = 0;             // in clicks of 256 units; y grows downwards
    uint8_t roomAbove = 255;
    int8_t ceiling = 0;
    bool IsWall() const { return floor == kWallHeight; }
};

std::vector<TLevelSector> ReadSectors(const TRoomRecord& room);
// The sector at column x, row z of the room's grid, or none outside the grid or the records read.
std::optional<TLevelSector> SectorAt(const TRoomRecord& room, int x, int z);

}  // namespace grottix
