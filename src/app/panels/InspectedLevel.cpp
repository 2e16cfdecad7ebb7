#include "app/panels/InspectedLevel.h"

#include "level/LevelSpace.h"
#include "level/LevelStart.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::shared_ptr<const TInspectedLevel> TInspectedLevel::Read(std::shared_ptr<const TTombRaiderLevel> level) {
    if (!level) return nullptr;
    auto inspected = std::make_shared<TInspectedLevel>();
    inspected->VersionCode = level->VersionCode;
    inspected->Floor = ReadFloorData(*level);
    inspected->Entities = ReadEntities(*level);
    inspected->Lights = ReadLights(*level);
    inspected->Statics = ReadStatics(*level);
    inspected->Cameras = ReadCameras(*level, inspected->Floor.triggers);
    inspected->FlybyCameras = ReadFlybyCameras(*level);
    inspected->SoundSources = ReadSoundSources(*level);
    // A sound source keeps no room: the one whose open space holds it, else the first whose box does.
    for (const TSoundSource& s : inspected->SoundSources) {
        const int room = RoomHoldingPoint(*level, {}, s.x, s.y, s.z);
        inspected->SoundSourceRooms.push_back(room >= 0 ? room : RoomContaining(*level, s.x, s.y, s.z));
    }
    inspected->Level = std::move(level);
    return inspected;
}

}  // namespace grottix
