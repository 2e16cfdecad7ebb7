#pragma once
// Where the eye goes to look at something of the level: in front of an item or beside any point,
// above the middle of a room's largest floor, or over one square. Always a place inside a room and clear of walls, or the nearest sane one.

#include <cstddef>
#include <optional>

namespace grottix {

class TTombRaiderLevel;

struct TEyePlacement {
    double x = 0, y = 0, z = 0;  // level units; y grows downwards
    double yaw = 0;              // radians; 0 faces +z, pi/2 faces +x
    double pitch = 0;            // radians; positive looks down
    int room = -1;               // the room that holds the eye, -1 when none does
};

// The space an item takes, as drawn: the middle of its box and the radius of the ball round it
// (level units, y grows downwards).
struct TItemExtent {
    double x = 0, y = 0, z = 0;
    double radius = 0;
};

// The eye framing entity `entity`: far enough for the item to fill about two fifths of the view's
// height (a sector or so for a person-sized item), at the item's own height where the open space
// allows (a bat on a ceiling, a key on a ledge), on the side it faces when that side is free, with a
// clear line to it; looking at its middle. Without an extent, a person-sized one on its floor.
TEyePlacement GoToItem(const TTombRaiderLevel& level, size_t entity, std::optional<TItemExtent> extent = std::nullopt);
// The eye a sector or so from a point of the level (x, y, z in level units: a light, a camera, a
// sound source), in open space with a clear line to it, at its height where the open space allows,
// looking at it; room is tried first (-1: none is known), and facing (radians, 0 towards +z) says
// which side is tried first.
TEyePlacement GoToPoint(const TTombRaiderLevel& level, int room, double x, double y, double z, double facing = 0);
// The room seen whole: the eye high in the open sector farthest from the middle of the room's
// largest floor (with a clear line to it), looking at that middle; in a room too small for that,
// over the middle, looking along the room's longer side.
TEyePlacement GoToRoom(const TTombRaiderLevel& level, size_t room);
// The eye in the open space of the square at column x, row z of the room, or else of the nearest
// open square beside it (in any room) with a clear line to it, looking at the square's floor.
TEyePlacement GoToSquare(const TTombRaiderLevel& level, size_t room, int x, int z);

}  // namespace grottix
