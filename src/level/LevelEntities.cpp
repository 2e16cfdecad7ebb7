#include "level/LevelEntities.h"

#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::vector<TLevelEntity> ReadEntities(const TTombRaiderLevel& level) {
    const size_t size = level.VersionCode <= 2 ? 22 : 24;
    const size_t count = RecordCount(level.Entities, size);
    std::vector<TLevelEntity> entities(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* r = level.Entities.bytes.data() + i * size;
        TLevelEntity& e = entities[i];
        e.type = RawField<int16_t>(r, 0);
        e.room = RawField<int16_t>(r, 2);
        e.x = RawField<int32_t>(r, 4);
        e.y = RawField<int32_t>(r, 8);
        e.z = RawField<int32_t>(r, 12);
        e.angle = RawField<uint16_t>(r, 16);
        e.intensity = RawField<int16_t>(r, 18);
        if (size == 24) e.extra = RawField<int16_t>(r, 20);
        e.flags = RawField<uint16_t>(r, size - 2);
    }
    return entities;
}

}  // namespace grottix
