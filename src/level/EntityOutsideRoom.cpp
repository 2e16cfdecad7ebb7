#include "level/EntityOutsideRoom.h"

#include <algorithm>

#include "level/LevelEntities.h"
#include "level/LevelSectors.h"
#include "level/LevelTypes.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

// Whether value lies more than the margin below low or above high.
bool beyond(int64_t value, int64_t low, int64_t high) {
    return value < low - kOutsideRoomMargin || value > high + kOutsideRoomMargin;
}

}  // namespace

bool EntityOutsideItsRoom(const TTombRaiderLevel& level, const TLevelEntity& entity) {
    if (entity.room < 0 || size_t(entity.room) >= level.Rooms.size()) return false;
    const TRoomRecord& room = level.Rooms[size_t(entity.room)];
    const int64_t left = room.x, front = room.z;
    const int64_t right = left + int64_t(room.xSectors) * kSectorSize, back = front + int64_t(room.zSectors) * kSectorSize;
    const int64_t top = std::min(room.yTop, room.yBottom), bottom = std::max(room.yTop, room.yBottom);
    return beyond(entity.x, left, right) || beyond(entity.z, front, back) || beyond(entity.y, top, bottom);
}

std::vector<uint8_t> EntitiesOutsideTheirRooms(const TTombRaiderLevel& level) {
    const std::vector<TLevelEntity> entities = ReadEntities(level);
    std::vector<uint8_t> outside(entities.size(), 0);
    for (size_t i = 0; i < entities.size(); ++i) outside[i] = EntityOutsideItsRoom(level, entities[i]) ? 1 : 0;
    return outside;
}

}  // namespace grottix
