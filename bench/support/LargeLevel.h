#pragma once
// The large level the benchmarks open: the TR4 demo level repeated side by side into 220 rooms over
// 32 tiles, as large as the largest real levels, with items spread over its copies.

#include <string>

namespace grottix::bench {

// Written once into the temporary folder; returns its path. With everyTile the rooms of each copy
// show their textures from other tiles, so that the faces use all 32 tiles (as real levels do);
// otherwise every copy uses the demo level's own two.
std::string LargeLevel(int items, bool everyTile = false);

// A TR4 level of side x side rooms in a grid, each joined to its neighbours by doorways with portals
// (about 1,650 triangles a room), written once into the temporary folder; returns its path.
std::string PortalGridLevel(int side);

}  // namespace grottix::bench
