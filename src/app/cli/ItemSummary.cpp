#include "app/cli/ItemSummary.h"

#include <cstdio>
#include <sstream>

#include "level/LevelEntities.h"
#include "level/ObjectNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += {'\\', c};
        else if (uint8_t(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(uint8_t(c)));
            out += escaped;
        } else out += c;
    }
    return out + "\"";
}

}  // namespace

std::vector<ItemSummary> SummarizeItems(const TTombRaiderLevel& level) {
    const auto entities = ReadEntities(level);
    std::vector<ItemSummary> items;
    items.reserve(entities.size());
    for (size_t i = 0; i < entities.size(); ++i) {
        const TLevelEntity& e = entities[i];
        items.push_back({i, e.type, ObjectName(level.VersionCode, e.type), e.room, e.x, e.y, e.z, int16_t(e.angle)});
    }
    return items;
}

std::string ItemsJson(const std::vector<ItemSummary>& items, const std::string& indent) {
    if (items.empty()) return "[]";
    std::ostringstream out;
    out << "[";
    for (const ItemSummary& item : items)
        out << (item.index ? ",\n" : "\n") << indent << "  {\"index\": " << item.index << ", \"type\": " << item.type
            << ", \"name\": " << jsonString(item.name) << ", \"room\": " << item.room << ", \"x\": " << item.x
            << ", \"y\": " << item.y << ", \"z\": " << item.z << ", \"angle\": " << item.angle << "}";
    out << "\n" << indent << "]";
    return out.str();
}

}  // namespace grottix
