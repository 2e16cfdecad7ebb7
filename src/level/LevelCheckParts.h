#pragma once
// The parts of CheckLevel, one per family of findings; each appends to the list in file order.

#include <vector>

#include "level/FloorData.h"
#include "level/LevelCheck.h"

namespace grottix {

class TTombRaiderLevel;

void CheckTriggers(const TTombRaiderLevel& level, const TLevelFloorData& floor, std::vector<TLevelFinding>& out);
void CheckItems(const TTombRaiderLevel& level, std::vector<TLevelFinding>& out);
void CheckFlipMaps(const TTombRaiderLevel& level, std::vector<TLevelFinding>& out);
void CheckFloorData(const TTombRaiderLevel& level, const TLevelFloorData& floor, std::vector<TLevelFinding>& out);
void CheckRoomReferences(const TTombRaiderLevel& level, std::vector<TLevelFinding>& out);
void CheckTables(const TTombRaiderLevel& level, const TLevelFloorData& floor, std::vector<TLevelFinding>& out);

}  // namespace grottix
