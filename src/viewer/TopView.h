#pragma once
// Top View: the eye straight above a room, looking down, the room's box seen whole, x to the right
// and z upwards as on the sector map; the rooms above the room hidden, so that its floor reads as a
// plan.

#include <cstdint>
#include <vector>

#include "engine/EngineTypes.h"
#include "import/SceneFaceSink.h"
#include "viewer/DeviceSetup.h"

namespace grottix {

class TTombRaiderLevel;

struct TTopView {
    TD3DVector Eye;     // scene units
    TD3DVector Angles;  // straight down, yaw 0
    TViewProjection Projection;
};

// The box of a room in scene units (scale: level units per scene unit): its squares across, its
// lowest floor to its highest ceiling.
TSceneBox RoomSceneBox(const TTombRaiderLevel& level, size_t room, float scale);

// The eye above the box's top, as high as frames the box's top whole in a 4:3 view with a little
// to spare. Orthographic: the same eye, showing the same width at every depth, reaching down to
// floorHeight (the viewer's floor plane, scene units).
TTopView TopViewOver(const TSceneBox& box, bool orthographic, float floorHeight);

// Per room of the level, 1 for the rooms wholly above the room: whose lowest floor (yBottom) is no
// lower than its highest ceiling (yTop). The room itself and rooms it overlaps in height stay.
std::vector<uint8_t> RoomsAbove(const TTombRaiderLevel& level, size_t room);

}  // namespace grottix
