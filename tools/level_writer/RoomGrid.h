#pragma once
// A level of closed rooms in a grid, each joined to its neighbours by a doorway with a portal: the
// fixture for drawing only what the portals show, and the large level of the frame benchmarks.
//
// Room (column c, row r) is index r * columns + c, its box 4096 x 4096 level units from
// (c * 4096, r * 4096), floor at y 0 and ceiling at y -2048 (y grows down). Its walls stand 256
// inside the box; a doorway 512 wide and 1024 high in the middle of each wall facing a neighbour
// leads through a short tunnel to the neighbour's doorway, and the portal lies across the tunnel on
// the box's edge. Faces are 256-unit squares, about 1,650 triangles a room; every vertex has its own
// colour, so that a room missing from a picture shows.

#include "level_writer/LevelWriter.h"

namespace grottix::levelwriter {

constexpr int32_t kGridRoomSize = 4096;
constexpr int32_t kGridRoomHeight = 2048;
constexpr int32_t kGridWall = 256;
constexpr int32_t kGridDoorWidth = 512, kGridDoorHeight = 1024;

LevelDescription RoomGridLevel(int code, int columns, int rows);

}  // namespace grottix::levelwriter
