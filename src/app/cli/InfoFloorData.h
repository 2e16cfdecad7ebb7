#pragma once
// What --info says about the floor data: per room, how many squares hold portals, triggers, kills,
// climbable sides and walls; every trigger once, with its actions and the squares whose chain holds
// it; the first square whose chain is broken.

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "level/FloorData.h"

namespace grottix {

struct RoomSectorCounts {
    size_t portals = 0, triggers = 0, kill = 0, climb = 0, walls = 0;
};

struct FloorSummary {
    std::vector<RoomSectorCounts> rooms;
    std::vector<TLevelTrigger> triggers;
    std::vector<uint16_t> triggerStarts;  // where each trigger's chain starts in the floor data
    size_t triggerSquares = 0;            // the squares of all triggers together
    std::optional<TFloorDataProblem> problem;
    size_t badSectors = 0;
};

FloorSummary SummarizeFloorData(const TTombRaiderLevel& level);

// The room's "sectors" member: `"sectors": {"portals": P, ...}` (empty for a room not summarised).
std::string RoomSectorsJson(const FloorSummary& floor, size_t room);
// Writes the top level's members: `"triggers": [...]`, and `"floor_data_problem": {...}` for a
// broken chain.
void WriteFloorDataJson(std::ostream& out, const FloorSummary& floor);
// Lines for the text summary: the trigger count and the first broken square, if any.
std::string FloorDataText(const FloorSummary& floor);

}  // namespace grottix
