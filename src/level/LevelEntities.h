#pragma once
// The entities table (items, creatures, the player's start) decoded from its raw records:
// 22 bytes in codes 1-2, 24 bytes from code 3 on (one more 16-bit word before the flags).

#include <cstdint>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

// Moveable type 0 is the player character in every version.
constexpr int16_t kPlayerEntityType = 0;

struct TLevelEntity {
    int16_t type = 0;
    int16_t room = 0;
    int32_t x = 0, y = 0, z = 0;  // level units, absolute; y grows downwards and is the floor under the entity
    uint16_t angle = 0;           // facing: 65536 is a full turn, 0 faces +z, 16384 faces +x
    int16_t intensity = 0;        // codes 1-3: -1 means lit as the room; otherwise 0 brightest
    int16_t extra = 0;            // codes 3-7: second intensity (TR2-TR3) or object code (TR4-TR5)
    uint16_t flags = 0;
};

std::vector<TLevelEntity> ReadEntities(const TTombRaiderLevel& level);

}  // namespace grottix
