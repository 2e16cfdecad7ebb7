#pragma once
// grottix-viewer --info LEVEL [--json]: a summary of one level file.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/cli/InfoFloorData.h"
#include "app/cli/InfoPlacements.h"
#include "app/cli/ItemSummary.h"
#include "app/cli/MoveableSummary.h"
#include "app/cli/RoomFlipSummary.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

struct RoomCounts {
    size_t vertices = 0, rectangles = 0, triangles = 0, sprites = 0, staticMeshes = 0;
};

struct LevelSummary {
    uint32_t versionWord = 0;
    int versionCode = 0;
    size_t tiles = 0, objectTextures = 0, spriteTextures = 0, meshDataWords = 0, meshPointers = 0;
    size_t staticMeshDefinitions = 0, entities = 0;
    std::optional<TLevelTrailer> trailer;  // a later level-building tool's block at the end
    std::vector<RoomCounts> rooms;
    RoomCounts totals;
    FloorSummary floor;
    std::vector<ItemSummary> items;  // in the JSON form only
    std::vector<MoveableSummary> moveables;  // in the JSON form only
    LevelFlipSummary flips;  // per room: alternate, group, water and named flags
    PlacementSummary placements;  // lights, statics, cameras, fly-by cameras, sound sources
};

LevelSummary SummarizeLevel(const TTombRaiderLevel& level);
// The summary as text or as one JSON object, written to out as it is formed.
void WriteLevelSummary(std::ostream& out, const LevelSummary& summary, bool json);
std::string FormatLevelSummary(const LevelSummary& summary, bool json);

int RunInfoCommand(const std::vector<std::string>& args);

}  // namespace grottix
