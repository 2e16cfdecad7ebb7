#pragma once
// The demo level's sectors and floor data: every square's floor and ceiling heights, portals in the
// squares before each doorway, triggers in the hall (the statue, a camera, music, the crate), kill
// squares in the courtyard, a climbable storeroom wall and (from TR3 on) monkey-swing in the corridor.

#include "level_writer/LevelWriter.h"

namespace grottix::demo {

// Fills the sector lists and floor data of a level whose rooms and entities are in place.
void AddDemoFloorData(levelwriter::LevelDescription& level);

}  // namespace grottix::demo
