#pragma once
// Entities stored far away from the room they name: some levels keep items hundreds of sectors out
// in empty space. They are still drawn where they stand, but what frames or exports the level as a
// whole leaves them out, and the inspectors mark them.

#include <cstdint>
#include <vector>

namespace grottix {

class TTombRaiderLevel;
struct TLevelEntity;
struct TRoomRecord;

// How far beyond its room's box an entity may stand (level units: four sectors).
constexpr int64_t kOutsideRoomMargin = 4096;

// How far the entity stands beyond the room's box: the largest distance along x, y or z, 0 inside it.
int64_t DistanceBeyondRoomBox(const TRoomRecord& room, const TLevelEntity& entity);

// Whether the entity stands more than kOutsideRoomMargin beyond the box of the room it names, along
// x, z (the room's squares) or y (its ceiling and floor). An entity naming no room has no box to be
// outside of: false.
bool EntityOutsideItsRoom(const TTombRaiderLevel& level, const TLevelEntity& entity);

// Per entity of the level, in file order, 1 for those outside their rooms.
std::vector<uint8_t> EntitiesOutsideTheirRooms(const TTombRaiderLevel& level);

}  // namespace grottix
