#pragma once
// The floor data in words, as the inspector shows it: trigger types, actions ("activate #12 Wolf",
// "flip map 3", "music track 17") and sector functions, named for each game.

#include <string>
#include <vector>

#include "level/FloorData.h"
#include "level/LevelEntities.h"

namespace grottix {

std::string TriggerTypeName(int versionCode, int type);
// One action in words; an item's name comes from the entity it names, when the level holds it.
std::string DescribeTriggerAction(int versionCode, const TTriggerStep& step, const std::vector<TLevelEntity>& entities);
// "#12 Wolf", or "#12" for an entity the level does not hold.
std::string DescribeItem(int versionCode, int item, const std::vector<TLevelEntity>& entities);
// One function of a sector's chain in words, e.g. "portal to room 4", "climbable +x -z".
std::string DescribeSectorFunction(int versionCode, const TSectorFunction& function);
// The five activation bits as 0s and 1s, lowest bit first, as level editors show them.
std::string TriggerMaskText(uint8_t mask);
// Whether the trigger acts on the item (activates it or looks at it).
bool TriggerActsOnItem(const TLevelTrigger& trigger, int item);

}  // namespace grottix
