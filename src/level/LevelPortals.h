#pragma once
// A room's portals, decoded from the 32-byte records the room keeps raw: the room seen through the
// opening, the opening's normal (pointing into the room that holds the portal, away from the room
// beyond) and its four corners, x and z relative to the room's origin, y absolute (y grows down).

#include <array>
#include <cstdint>
#include <vector>

namespace grottix {

struct TRoomRecord;

struct TLevelPortal {
    uint16_t roomBeyond = 0;
    std::array<int16_t, 3> normal{};
    std::array<std::array<int16_t, 3>, 4> corners{};
};

// The portals the room's records hold (a record cut short is left out).
std::vector<TLevelPortal> ReadPortals(const TRoomRecord& room);

}  // namespace grottix
