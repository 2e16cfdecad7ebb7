#pragma once
// Where in a level there is room to be: the open height of a room's sector under a point, read from
// the sector grid (floor and ceiling in clicks of 256 units, a wall where either is -127).

#include <cstddef>
#include <optional>

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

}  // namespace grottix
