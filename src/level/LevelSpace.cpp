#include "level/LevelSpace.h"

#include <algorithm>
#include <cmath>

#include "level/LevelSectors.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::optional<TOpenSpace> OpenSpaceAt(const TTombRaiderLevel& level, size_t index, double x, double z) {
    if (index >= level.Rooms.size()) return std::nullopt;
    const TRoomRecord& room = level.Rooms[index];
    const double column = std::floor((x - room.x) / kSectorSize), row = std::floor((z - room.z) / kSectorSize);
    if (!(column >= 0 && row >= 0 && column < room.xSectors && row < room.zSectors)) return std::nullopt;
    const auto sector = SectorAt(room, int(column), int(row));
    if (!sector || sector->IsWall() || sector->ceiling == kWallHeight || sector->ceiling >= sector->floor) return std::nullopt;
    // The room's box bounds the sector too; a sector open only outside its room's box is not believed.
    const double top = std::max(double(sector->ceiling) * kClickSize, double(room.yTop));
    const double bottom = std::min(double(sector->floor) * kClickSize, double(room.yBottom));
    if (top >= bottom) return std::nullopt;
    return TOpenSpace{int(index), top, bottom};
}

std::optional<TOpenSpace> OpenSpaceAround(const TTombRaiderLevel& level, double x, double y, double z) {
    for (size_t room = 0; room < level.Rooms.size(); ++room) {
        const auto space = OpenSpaceAt(level, room, x, z);
        if (space && y >= space->top && y <= space->bottom) return space;
    }
    return std::nullopt;
}

}  // namespace grottix
