#pragma once
// The level as the inspector's docks read it: the file's tables, its floor data decoded once, and
// its entities (for the names of the items triggers act on). Shared, read-only, replaced as a whole
// when another level is opened.

#include <memory>
#include <vector>

#include "level/FloorData.h"
#include "level/LevelEntities.h"

namespace grottix {

class TTombRaiderLevel;

struct TInspectedLevel {
    std::shared_ptr<const TTombRaiderLevel> Level;
    int VersionCode = 0;
    TLevelFloorData Floor;
    std::vector<TLevelEntity> Entities;

    // None for no level.
    static std::shared_ptr<const TInspectedLevel> Read(std::shared_ptr<const TTombRaiderLevel> level);
};

}  // namespace grottix
