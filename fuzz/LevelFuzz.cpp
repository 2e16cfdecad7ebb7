// LoadLevel on arbitrary bytes, under every file name that selects a different version code, then
// the floor data of whatever was read, its lights, statics, cameras and sound sources, Go to the first
// and last item and room of it, the rooms every flip state shows, its check and its differences from
// an empty level.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "level/FlipMaps.h"
#include "level/LevelCheck.h"
#include "level/LevelDiff.h"
#include "level/FloorData.h"
#include "level/LevelCameras.h"
#include "level/LevelEntities.h"
#include "level/LevelFlybyCameras.h"
#include "level/LevelGoTo.h"
#include "level/LevelLights.h"
#include "level/LevelSoundSources.h"
#include "level/LevelStatics.h"
#include "level/TombRaiderLevel.h"
#include "storage/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kNames[] = {"f.phd", "f.tub", "f.tr2", "f.trg", "f.tr4", "f.trc"};
    for (const char* name : kNames) {
        grottix::TTombRaiderLevel level;
        try {
            level.LoadLevelFromBytes(std::vector<uint8_t>(data, data + size), name);
        } catch (const grottix::EGrottixError&) {
        }
        grottix::ReadCameras(level, grottix::ReadFloorData(level).triggers);
        grottix::ReadLights(level);
        grottix::ReadStatics(level);
        grottix::ReadFlybyCameras(level);
        grottix::ReadSoundSources(level);
        const size_t items = grottix::ReadEntities(level).size(), rooms = level.Rooms.size();
        for (const size_t item : {size_t(0), items ? items - 1 : 0}) grottix::GoToItem(level, item);
        for (const size_t room : {size_t(0), rooms ? rooms - 1 : 0}) grottix::GoToRoom(level, room);
        const grottix::TFlipMaps flips = grottix::TFlipMaps::Read(level);
        for (const int group : flips.Groups()) flips.RoomsShown(grottix::TFlipState::Group(group));
        flips.RoomsShown(grottix::TFlipState::All());
        grottix::CheckLevel(level);
        grottix::DiffLevels(grottix::TTombRaiderLevel{}, level);
    }
    return 0;
}
