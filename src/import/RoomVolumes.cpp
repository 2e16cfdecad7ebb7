#include "import/RoomVolumes.h"

#include <algorithm>

#include "level/LevelSectors.h"
#include "level/RoomFlags.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::vector<TRoomVolume> ReadRoomVolumes(const TTombRaiderLevel& level, float scale) {
    std::vector<TRoomVolume> volumes;
    volumes.reserve(level.Rooms.size());
    for (const TRoomRecord& room : level.Rooms) {
        TRoomVolume volume;
        const double x0 = room.x, x1 = double(room.x) + double(room.xSectors) * kSectorSize;
        const double z0 = room.z, z1 = double(room.z) + double(room.zSectors) * kSectorSize;
        // Level y grows downwards: the top is the smaller value, and the scene negates y.
        const double y0 = -double(std::max(room.yTop, room.yBottom)), y1 = -double(std::min(room.yTop, room.yBottom));
        volume.low = {float(x0 / scale), float(y0 / scale), float(z0 / scale)};
        volume.high = {float(x1 / scale), float(y1 / scale), float(z1 / scale)};
        volume.water = IsWaterRoom(room);
        volumes.push_back(volume);
    }
    return volumes;
}

}  // namespace grottix
