#include "level/LevelDiff.h"

#include <algorithm>

#include "level/LevelEntities.h"
#include "level/ObjectNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

const char* DiffSectionName(TDiffSection section) {
    switch (section) {
        case TDiffSection::Items: return "items";
        case TDiffSection::Rooms: return "rooms";
        case TDiffSection::Triggers: return "triggers";
        case TDiffSection::FlipMaps: return "flip_maps";
        case TDiffSection::Textures: return "textures";
    }
    return "";
}

std::vector<TLevelDifference> DiffLevels(const TTombRaiderLevel& a, const TTombRaiderLevel& b) {
    std::vector<TLevelDifference> out;
    DiffItems(a, b, out);
    DiffRooms(a, b, out);
    DiffTriggers(a, b, out);
    DiffFlipMaps(a, b, out);
    DiffTextures(a, b, out);
    return out;
}

namespace {

std::string itemText(int versionCode, size_t index, const TLevelEntity& entity) {
    return "item " + std::to_string(index) + " (" + ObjectName(versionCode, entity.type) + ")";
}

std::string position(const TLevelEntity& e) {
    return "(" + std::to_string(e.x) + ", " + std::to_string(e.y) + ", " + std::to_string(e.z) + ")";
}

// "name a -> b; " when the values differ.
template <typename T>
void field(std::string& text, const char* name, T a, T b) {
    if (a == b) return;
    text += (text.empty() ? "" : ", ") + std::string(name) + " " + std::to_string(a) + " -> " + std::to_string(b);
}

TLevelDifference itemDifference(std::string change, std::string message, size_t index, int room) {
    TLevelDifference d;
    d.section = TDiffSection::Items;
    d.change = std::move(change);
    d.message = std::move(message);
    d.index = int(index);
    d.room = room;
    return d;
}

}  // namespace

void DiffItems(const TTombRaiderLevel& a, const TTombRaiderLevel& b, std::vector<TLevelDifference>& out) {
    const std::vector<TLevelEntity> before = ReadEntities(a), after = ReadEntities(b);
    for (size_t i = 0; i < std::max(before.size(), after.size()); ++i) {
        if (i >= before.size()) {
            out.push_back(itemDifference("added", itemText(b.VersionCode, i, after[i]) + ": added in room " +
                                                      std::to_string(after[i].room) + " at " + position(after[i]), i, after[i].room));
            continue;
        }
        if (i >= after.size()) {
            out.push_back(itemDifference("removed", itemText(a.VersionCode, i, before[i]) + ": removed", i, before[i].room));
            continue;
        }
        const TLevelEntity &was = before[i], &is = after[i];
        std::string changes;
        field(changes, "type", was.type, is.type);
        field(changes, "room", was.room, is.room);
        field(changes, "angle", was.angle, is.angle);
        field(changes, "flags", was.flags, is.flags);
        field(changes, "intensity", was.intensity, is.intensity);
        const bool moved = was.x != is.x || was.y != is.y || was.z != is.z;
        if (changes.empty() && !moved) continue;
        const std::string movedText = moved ? "moved " + position(was) + " -> " + position(is) : "";
        const std::string message = itemText(b.VersionCode, i, is) + ": " + movedText + (moved && !changes.empty() ? ", " : "") + changes;
        out.push_back(itemDifference(changes.empty() ? "moved" : "changed", message, i, is.room));
    }
}

}  // namespace grottix
