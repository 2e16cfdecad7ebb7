#pragma once
// The level as the inspector's docks read it: the file's tables, its floor data decoded once, its
// entities (for the names of the items triggers act on), and what it places besides items: lights,
// static meshes, cameras, fly-by cameras and sound sources. Shared, read-only, replaced as a whole
// when another level is opened.

#include <memory>
#include <vector>

#include "level/FloorData.h"
#include "level/LevelCameras.h"
#include "level/LevelEntities.h"
#include "level/LevelFlybyCameras.h"
#include "level/LevelLights.h"
#include "level/LevelSoundSources.h"
#include "level/LevelStatics.h"

namespace grottix {

class TTombRaiderLevel;

struct TInspectedLevel {
    std::shared_ptr<const TTombRaiderLevel> Level;
    int VersionCode = 0;
    TLevelFloorData Floor;
    std::vector<TLevelEntity> Entities;
    std::vector<TRoomLight> Lights;
    std::vector<TRoomStatic> Statics;
    std::vector<TLevelCamera> Cameras;
    std::vector<TFlybyCamera> FlybyCameras;
    std::vector<TSoundSource> SoundSources;
    std::vector<int> SoundSourceRooms;  // per sound source, the room holding it, -1 none

    // None for no level.
    static std::shared_ptr<const TInspectedLevel> Read(std::shared_ptr<const TTombRaiderLevel> level);
};

}  // namespace grottix
