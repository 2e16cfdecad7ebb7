#include "app/panels/InspectedLevel.h"

#include "level/TombRaiderLevel.h"

namespace grottix {

std::shared_ptr<const TInspectedLevel> TInspectedLevel::Read(std::shared_ptr<const TTombRaiderLevel> level) {
    if (!level) return nullptr;
    auto inspected = std::make_shared<TInspectedLevel>();
    inspected->VersionCode = level->VersionCode;
    inspected->Floor = ReadFloorData(*level);
    inspected->Entities = ReadEntities(*level);
    inspected->Level = std::move(level);
    return inspected;
}

}  // namespace grottix
