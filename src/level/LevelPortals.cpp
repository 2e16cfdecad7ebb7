#include "level/LevelPortals.h"

#include "level/LevelTypes.h"
#include "level/RawRecords.h"

namespace grottix {

std::vector<TLevelPortal> ReadPortals(const TRoomRecord& room) {
    const size_t count = RecordCount(room.portals, 32);
    std::vector<TLevelPortal> portals(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* r = room.portals.bytes.data() + i * 32;
        TLevelPortal& portal = portals[i];
        portal.roomBeyond = RawField<uint16_t>(r, 0);
        for (size_t k = 0; k < 3; ++k) portal.normal[k] = RawField<int16_t>(r, 2 + 2 * k);
        for (size_t c = 0; c < 4; ++c)
            for (size_t k = 0; k < 3; ++k) portal.corners[c][k] = RawField<int16_t>(r, 8 + 6 * c + 2 * k);
    }
    return portals;
}

}  // namespace grottix
