#include "level/LevelGoTo.h"

#include "level/LevelEntities.h"
#include "level/LevelStart.h"
#include "level/LevelTypes.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

TEyePlacement aboveRoomCentre(const TTombRaiderLevel& level, size_t index) {
    TEyePlacement eye;
    if (index >= level.Rooms.size()) return eye;
    const TRoomRecord& room = level.Rooms[index];
    eye.x = room.x + room.xSectors * 512.0;
    eye.z = room.z + room.zSectors * 512.0;
    eye.y = room.yBottom - kEyeHeight;
    eye.room = int(index);
    return eye;
}

}  // namespace

TEyePlacement GoToItem(const TTombRaiderLevel& level, size_t entity) {
    const auto entities = ReadEntities(level);
    if (entity >= entities.size()) return {};
    const TLevelEntity& e = entities[entity];
    return aboveRoomCentre(level, e.room >= 0 ? size_t(e.room) : level.Rooms.size());
}

TEyePlacement GoToRoom(const TTombRaiderLevel& level, size_t room) { return aboveRoomCentre(level, room); }

}  // namespace grottix
