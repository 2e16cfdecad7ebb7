#include "level/EntityOutsideRoom.h"

#include <algorithm>

#include "level/LevelEntities.h"
#include "level/LevelSectors.h"
#include "level/LevelTypes.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

// How far the value lies below low or above high, 0 between them.
int64_t beyond(int64_t value, int64_t low, int64_t high) {
    return value < low ? low - value : value > high ? value - high : 0;
}

}  // namespace

int64_t DistanceBeyondRoomBox(const TRoomRecord& room, const TLevelEntity& entity) {
    const int64_t dx = beyond(entity.x, room.x, room.x + int64_t(room.xSectors) * kSectorSize);
    const int64_t dz = beyond(entity.z, room.z, room.z + int64_t(room.zSectors) * kSectorSize);
    const int64_t dy = beyond(entity.y, std::min(room.yTop, room.yBottom), std::max(room.yTop, room.yBottom));
    return std::max({dx, dy, dz});
}

bool EntityOutsideItsRoom(const TTombRaiderLevel& level, const TLevelEntity& entity) {
    if (entity.room < 0 || size_t(entity.room) >= level.Rooms.size()) return false;
    return DistanceBeyondRoomBox(level.Rooms[size_t(entity.room)], entity) > kOutsideRoomMargin;
}

std::vector<uint8_t> EntitiesOutsideTheirRooms(const TTombRaiderLevel& level) {
    const std::vector<TLevelEntity> entities = ReadEntities(level);
    std::vector<uint8_t> outside(entities.size(), 0);
    for (size_t i = 0; i < entities.size(); ++i) outside[i] = EntityOutsideItsRoom(level, entities[i]) ? 1 : 0;
    return outside;
}

}  // namespace grottix
