#pragma once
// Where in a level there is room to be: the open height of a room's sector under a point, read from
// the sector grid (floor and ceiling in clicks of 256 units, a wall where either is -127).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

// The open height over one sector: from top down to bottom (level units, y grows downwards).
struct TOpenSpace {
    int room = -1;
    double top = 0, bottom = 0;
    double Height() const { return bottom - top; }
};

// The open space of the room's sector under (x, z), within the room's box; none outside the room's
// grid, at a wall, or where the sector leaves no open height inside the box.
std::optional<TOpenSpace> OpenSpaceAt(const TTombRaiderLevel& level, size_t room, double x, double z);

// The open space of any room around the point (x, y, z): y lies between its top and bottom.
std::optional<TOpenSpace> OpenSpaceAround(const TTombRaiderLevel& level, double x, double y, double z);

// The room the point (level units) stands in: of the rooms shown (shown: per room 1 when shown, empty
// for all), the one whose square under the point is open and has the point between its ceiling and
// floor. Rooms overlap where their walls meet and where a floor or ceiling is a portal to the room
// beyond: a wall square never holds the point, and of two open squares that do, preferred wins (the
// room the point stood in before), else the first. A point inside a room's box just above or below
// an open square (a sloped floor or ceiling rises or falls a few clicks within its square) belongs to
// the nearest such square within kSlopeReach. -1: the point is in no room's open space.
constexpr double kSlopeReach = 1024;
int RoomHoldingPoint(const TTombRaiderLevel& level, const std::vector<uint8_t>& shown, double x, double y, double z,
                     int preferred = -1);

}  // namespace grottix
