#include "level/LevelEntities.h"

#include <cstring>

#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

template <typename T>
T field(const uint8_t* record, size_t offset) {
    T value;
    std::memcpy(&value, record + offset, sizeof value);
    return value;
}

}  // namespace

std::vector<TLevelEntity> ReadEntities(const TTombRaiderLevel& level) {
    const size_t size = level.VersionCode <= 2 ? 22 : 24;
    const size_t count = std::min<size_t>(level.Entities.count, level.Entities.bytes.size() / size);
    std::vector<TLevelEntity> entities(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* r = level.Entities.bytes.data() + i * size;
        TLevelEntity& e = entities[i];
        e.type = field<int16_t>(r, 0);
        e.room = field<int16_t>(r, 2);
        e.x = field<int32_t>(r, 4);
        e.y = field<int32_t>(r, 8);
        e.z = field<int32_t>(r, 12);
        e.angle = field<uint16_t>(r, 16);
        e.intensity = field<int16_t>(r, 18);
        if (size == 24) e.extra = field<int16_t>(r, 20);
        e.flags = field<uint16_t>(r, size - 2);
    }
    return entities;
}

}  // namespace grottix
