#pragma once
// The level's rooms as cells of the scene's visibility: each room's box and its portals, in scene
// units, and which room stands in a room's place when the flip state hides it.

namespace grottix {

class TCellVisibility;
class TTombRaiderLevel;

// Replaces the cells with the level's rooms (cell i is room i); scale divides level coordinates.
void ImportCells(TCellVisibility& visibility, const TTombRaiderLevel& level, float scale);

}  // namespace grottix
