#include "level/LevelFlybyCameras.h"

#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr size_t kFlybySize = 40;

}  // namespace

std::vector<TFlybyCamera> ReadFlybyCameras(const TTombRaiderLevel& level) {
    const size_t count = level.VersionCode >= 6 ? RecordCount(level.FlybyCameras, kFlybySize) : 0;
    std::vector<TFlybyCamera> cameras(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* r = level.FlybyCameras.bytes.data() + i * kFlybySize;
        TFlybyCamera& c = cameras[i];
        c.index = i;
        c.x = RawField<int32_t>(r, 0);
        c.y = RawField<int32_t>(r, 4);
        c.z = RawField<int32_t>(r, 8);
        c.lookAt = {RawField<int32_t>(r, 12), RawField<int32_t>(r, 16), RawField<int32_t>(r, 20)};
        c.sequence = r[24];
        c.number = r[25];
        c.fov = RawField<uint16_t>(r, 26);
        c.roll = RawField<int16_t>(r, 28);
        c.timer = RawField<uint16_t>(r, 30);
        c.speed = RawField<uint16_t>(r, 32);
        c.flags = RawField<uint16_t>(r, 34);
        c.room = RawField<uint32_t>(r, 36);
        if (c.room >= level.Rooms.size()) c.problem = "room " + std::to_string(c.room) + " names no room";
    }
    return cameras;
}

}  // namespace grottix
