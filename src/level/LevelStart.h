#pragma once
// Where a viewer of the level starts: at the player's start entity, at a person's eye height, or,
// where the level has none (or it stands far outside its room, EntityOutsideItsRoom), above the
// largest floor face of the first room.

#include <cstdint>

namespace grottix {

class TTombRaiderLevel;

// A person's eye height above the floor, in level units (three quarters of a sector).
constexpr int32_t kEyeHeight = 768;

struct TLevelStart {
    double x = 0, y = 0, z = 0;  // level units; y grows downwards
    double yaw = 0;              // radians; 0 faces +z, pi/2 faces +x
    int room = -1;               // the room that holds the eye, -1 when none does
    bool atPlayer = false;       // placed at the player's start entity
};

// Needs a level with at least one room.
TLevelStart FindLevelStart(const TTombRaiderLevel& level);

// The first room whose box holds the point (level units), -1 when none does.
int RoomContaining(const TTombRaiderLevel& level, double x, double y, double z);

}  // namespace grottix
