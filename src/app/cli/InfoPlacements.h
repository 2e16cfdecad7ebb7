#pragma once
// What --info says about the things a level places in its space besides items: the rooms' lights
// and static meshes, the cameras (with the trigger squares that use them), the fly-by cameras of
// TR4 and Chronicles and the sound sources, each record as decoded, in file order.

#include <ostream>
#include <string>
#include <vector>

#include "level/LevelCameras.h"
#include "level/LevelFlybyCameras.h"
#include "level/LevelLights.h"
#include "level/LevelSoundSources.h"
#include "level/LevelStatics.h"

namespace grottix {

class TTombRaiderLevel;
struct TLevelTrigger;

struct PlacementSummary {
    bool flybys = false;  // whether the level has a fly-by camera table (TR4 and Chronicles)
    std::vector<TRoomLight> lights;
    std::vector<TRoomStatic> statics;
    std::vector<TLevelCamera> cameras;
    std::vector<TFlybyCamera> flybyCameras;
    std::vector<TSoundSource> soundSources;
};

// triggers: the floor data's, for the cameras' uses.
PlacementSummary SummarizePlacements(const TTombRaiderLevel& level, const std::vector<TLevelTrigger>& triggers);

// Writes the top level's members `"lights": [...], "statics": [...], "cameras": [...]`, then
// `"flyby_cameras": [...]` for TR4 and Chronicles, and `"sound_sources": [...]`.
void WritePlacementsJson(std::ostream& out, const PlacementSummary& placements);
// Lines for the text summary: how many of each, and the first problem of a kind that has some.
std::string PlacementsText(const PlacementSummary& placements);

}  // namespace grottix
