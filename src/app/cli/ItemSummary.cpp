#include "app/cli/ItemSummary.h"

#include <ostream>

#include "app/cli/InfoJson.h"
#include "level/EntityOutsideRoom.h"
#include "level/LevelEntities.h"
#include "level/ObjectNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::vector<ItemSummary> SummarizeItems(const TTombRaiderLevel& level) {
    const auto entities = ReadEntities(level);
    std::vector<ItemSummary> items;
    items.reserve(entities.size());
    for (size_t i = 0; i < entities.size(); ++i) {
        const TLevelEntity& e = entities[i];
        items.push_back({i, e.type, ObjectName(level.VersionCode, e.type), e.room, e.x, e.y, e.z, int16_t(e.angle),
                         EntityOutsideItsRoom(level, e)});
    }
    return items;
}

void WriteItemsJson(std::ostream& out, const std::vector<ItemSummary>& items, const std::string& indent) {
    if (items.empty()) {
        out << "[]";
        return;
    }
    out << "[";
    for (const ItemSummary& item : items)
        out << (item.index ? ",\n" : "\n") << indent << "  {\"index\": " << item.index << ", \"type\": " << item.type
            << ", \"name\": " << JsonString(item.name) << ", \"room\": " << item.room << ", \"x\": " << item.x
            << ", \"y\": " << item.y << ", \"z\": " << item.z << ", \"angle\": " << item.angle << (item.outsideRoom ? ", \"outside_room\": true}" : "}");
    out << "\n" << indent << "]";
}

}  // namespace grottix
