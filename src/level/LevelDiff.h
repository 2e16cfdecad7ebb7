#pragma once
// What differs between two levels, A and B, as plain records the command line prints and a dock
// lists: items added, removed, moved or changed (matched by their index), rooms whose geometry,
// squares, lights, static meshes or flags changed, triggers added, removed or changed down to each
// action (matched by the squares that hold them), flip-map links, texture tiles and the object and
// sprite texture tables. Places and indices are B's when it has them, else A's.

#include <optional>
#include <string>
#include <vector>

#include "level/FloorData.h"

namespace grottix {

class TTombRaiderLevel;

enum class TDiffSection { Items, Rooms, Triggers, FlipMaps, Textures };

struct TLevelDifference {
    TDiffSection section = TDiffSection::Items;
    // "added", "removed", "moved", "changed"; for rooms also "geometry", "sectors", "lights",
    // "statics", "flags"; for textures "tile", "object_textures", "sprite_textures".
    std::string change;
    std::string message;           // one readable line, naming what differs
    std::optional<int> index;      // the item, or the texture tile (from 1)
    std::optional<int> room, x, z;
    int squares = 0;               // triggers: how many squares share the change
    std::vector<TTriggerStep> actionsAdded, actionsRemoved;  // triggers
};

// "items", "rooms", "triggers", "flip_maps", "textures".
const char* DiffSectionName(TDiffSection section);

// Every difference, section by section, each in file order. The list grows with the levels' items,
// rooms, triggers and tiles; faces and squares are summed up per room.
std::vector<TLevelDifference> DiffLevels(const TTombRaiderLevel& a, const TTombRaiderLevel& b);

// The parts of DiffLevels, one per section.
void DiffItems(const TTombRaiderLevel& a, const TTombRaiderLevel& b, std::vector<TLevelDifference>& out);
void DiffRooms(const TTombRaiderLevel& a, const TTombRaiderLevel& b, std::vector<TLevelDifference>& out);
void DiffTriggers(const TTombRaiderLevel& a, const TTombRaiderLevel& b, std::vector<TLevelDifference>& out);
void DiffFlipMaps(const TTombRaiderLevel& a, const TTombRaiderLevel& b, std::vector<TLevelDifference>& out);
void DiffTextures(const TTombRaiderLevel& a, const TTombRaiderLevel& b, std::vector<TLevelDifference>& out);

}  // namespace grottix
