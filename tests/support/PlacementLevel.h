#pragma once
// ItemLevel with open squares and one or two of each thing a level places besides items: a point
// light high over the middle of the room, a static mesh whose definition has a box and one naming
// no definition, camera 0 that a trigger on square (1, 1) uses as a sink, a fly-by camera (TR4 and
// Chronicles) and a sound source playing in the flipped state only.

#include "support/ItemLevel.h"

namespace grottix::test {

inline levelwriter::LevelDescription PlacementLevel(int code) {
    using namespace levelwriter;
    LevelDescription level = ItemLevel(code);
    Room& room = level.rooms[0];
    room.sectorList = OpenSectors(room);
    (*room.sectorList)[1 * 4 + 1].floorDataIndex = 1;
    // A trigger (function 4, last of its chain), its setup word, a sink action (2) on camera 0, last.
    level.floorData = std::vector<uint16_t>{0, 0x8004, 0, 0x8000 | 2 << 10};
    Light light{0, -1024, 0};
    light.colour = {255, 128, 0};
    light.fade = 1536;
    light.in = 512;
    light.out = 1536;
    room.lightList = std::vector<Light>{light};
    level.staticMeshDefinitions = {{7, 0, {-128, 128, -256, 0, -64, 64}}};
    room.staticMeshes = {{1024, 512, -1024, 16384, 7, 0x4210}, {-1024, 512, 1024, 0, 8, 0x7FFF}};
    level.cameras = std::vector<Camera>{{-1024, -512, 1024, 3, 0}};
    level.flybyCameras = std::vector<FlybyCamera>{{1024, -512, -1024, {0, 0, 0}, 1, 2, 16384, 0, 0, 0, 0, 0}};
    level.soundSources = std::vector<SoundSource>{{-1024, -256, -1024, 0, 0x40}};
    level.soundMap = std::vector<int16_t>{0};
    return level;
}

}  // namespace grottix::test
