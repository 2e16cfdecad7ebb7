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

namespace {

// How far the point lies outside the open height of the room's square under it: 0 inside, none
// outside the room's grid, at a wall or a closed square.
std::optional<double> distanceToOpenSquare(const TRoomRecord& room, double x, double y, double z) {
    const double column = std::floor((x - room.x) / kSectorSize), row = std::floor((z - room.z) / kSectorSize);
    if (!(column >= 0 && row >= 0 && column < room.xSectors && row < room.zSectors)) return std::nullopt;
    const auto sector = SectorAt(room, int(column), int(row));
    if (!sector || sector->IsWall() || sector->ceiling == kWallHeight || sector->ceiling >= sector->floor) return std::nullopt;
    const double top = double(sector->ceiling) * kClickSize, bottom = double(sector->floor) * kClickSize;
    return y < top ? top - y : y > bottom ? y - bottom : 0.0;
}

}  // namespace

int RoomHoldingPoint(const TTombRaiderLevel& level, const std::vector<uint8_t>& shown, double x, double y, double z,
                     int preferred) {
    int inside = -1, nearest = -1;
    double nearestDistance = kSlopeReach;
    for (size_t i = 0; i < level.Rooms.size(); ++i) {
        if (i < shown.size() && !shown[i]) continue;
        const TRoomRecord& room = level.Rooms[i];
        // The room's box narrows the search before any sector is read; it also keeps a point above
        // the level's roof or below its lowest floor out of every room.
        if (!(y >= std::min(room.yTop, room.yBottom) && y <= std::max(room.yTop, room.yBottom))) continue;
        const std::optional<double> distance = distanceToOpenSquare(room, x, y, z);
        if (!distance) continue;
        if (*distance == 0) {
            if (int(i) == preferred) return preferred;
            if (inside < 0) inside = int(i);
        } else if (*distance < nearestDistance || (*distance == nearestDistance && int(i) == preferred)) {
            nearestDistance = *distance;
            nearest = int(i);
        }
    }
    return inside >= 0 ? inside : nearest;
}

}  // namespace grottix
