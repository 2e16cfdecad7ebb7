#pragma once
// The entities of a level as the command line lists them: file order, the game's name for each type,
// position and angle as stored.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct ItemSummary {
    size_t index = 0;
    int type = 0;
    std::string name;
    int room = 0;
    int32_t x = 0, y = 0, z = 0;
    int16_t angle = 0;  // 65536 to a full turn, as stored
    bool outsideRoom = false;  // far outside its room's box (EntityOutsideItsRoom)
};

std::vector<ItemSummary> SummarizeItems(const TTombRaiderLevel& level);
// Writes a JSON array of one object per item; indent is put before each item's line. An item far
// outside its room also has "outside_room": true.
void WriteItemsJson(std::ostream& out, const std::vector<ItemSummary>& items, const std::string& indent);

}  // namespace grottix
