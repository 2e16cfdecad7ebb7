#pragma once
// The level's cameras (16 bytes each: position, room, flags), with the triggers that use each: a
// camera action shows the view from it, a sink action (the current that pulls the player under
// water) pulls towards it. A sink keeps the current's strength where a camera keeps its room, and a
// box index in its flags, so only a record some trigger uses as a camera, or none uses at all, is
// checked against the rooms.

#include <cstdint>
#include <string>
#include <vector>

namespace grottix {

class TTombRaiderLevel;
struct TLevelTrigger;

struct TCameraUse {
    size_t trigger = 0;          // index into the floor data's triggers
    int room = 0, x = 0, z = 0;  // the trigger's first square: room, column, row
    bool sink = false;           // a sink action, else a camera action
};

struct TLevelCamera {
    size_t index = 0;
    int32_t x = 0, y = 0, z = 0;  // level units, absolute, y down
    int16_t room = 0;             // a sink: the current's strength
    uint16_t flags = 0;           // bit 0: the view cannot be left; a sink: the box it pulls through
    bool camera = false, sink = false;  // whether some trigger uses it as such
    std::vector<TCameraUse> uses;       // in the triggers' order
    std::string problem;          // empty, or what the file gets wrong
};

// The cameras in file order with their uses among triggers (TLevelFloorData::triggers).
std::vector<TLevelCamera> ReadCameras(const TTombRaiderLevel& level, const std::vector<TLevelTrigger>& triggers);

}  // namespace grottix
