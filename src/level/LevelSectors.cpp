#include "level/LevelSectors.h"

#include "level/LevelTypes.h"
#include "level/RawRecords.h"

namespace grottix {

namespace {

TLevelSector decode(const uint8_t* r) {
    TLevelSector s;
    s.floorDataIndex = RawField<uint16_t>(r, 0);
    s.box = RawField<uint16_t>(r, 2);
    s.roomBelow = r[4];
    s.floor = int8_t(r[5]);
    s.roomAbove = r[6];
    s.ceiling = int8_t(r[7]);
    return s;
}

}  // namespace

std::vector<TLevelSector> ReadSectors(const TRoomRecord& room) {
    const size_t count = RecordCount(room.sectors, 8);
    std::vector<TLevelSector> sectors(count);
    for (size_t i = 0; i < count; ++i) sectors[i] = decode(room.sectors.bytes.data() + i * 8);
    return sectors;
}

std::optional<TLevelSector> SectorAt(const TRoomRecord& room, int x, int z) {
    if (x < 0 || z < 0 || x >= room.xSectors || z >= room.zSectors) return std::nullopt;
    const size_t index = size_t(x) * room.zSectors + size_t(z);
    if (index >= RecordCount(room.sectors, 8)) return std::nullopt;
    return decode(room.sectors.bytes.data() + index * 8);
}

}  // namespace grottix
