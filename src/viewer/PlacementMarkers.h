#pragma once
// Marks for what a level places besides its items, drawn over the level: a small solid diamond at a
// light or sound source, a small solid box at a camera, and lines: a light's reach as three rings
// round it, the way a sun or a spot shines. Built from level units (y down) into scene units as the
// import converts the level; the solid marks hide behind walls, the lines show through them as the
// selection outline does.

#include <array>
#include <cstdint>
#include <vector>

#include "device/D3DTypes.h"

namespace grottix {

class TD3DDevice;

struct TPlacementMarks {
    std::vector<TD3DLVertex> triangles;  // the solid marks, a triangle list
    std::vector<TD3DLVertex> lines;      // a line list
    bool Empty() const { return triangles.empty() && lines.empty(); }
    void Clear() {
        triangles.clear();
        lines.clear();
    }
};

enum class TMarkShape { Diamond, Box };

// Half the width of a mark, in level units.
constexpr double kMarkRadius = 96;

// A mark centred on (x, y, z), level units.
void AddMark(TPlacementMarks& marks, double x, double y, double z, float scale, uint32_t argb, TMarkShape shape);
// Three rings of the radius round the point, one in each plane of the axes.
void AddReach(TPlacementMarks& marks, double x, double y, double z, double radius, float scale, uint32_t argb);
// A line from the point along the direction (any length but zero; level axes), length units long.
void AddRay(TPlacementMarks& marks, double x, double y, double z, const std::array<double, 3>& direction, double length,
            float scale, uint32_t argb);
// Draws the marks with the current world and view; leaves the states it changes as they were.
void DrawPlacementMarks(TD3DDevice& device, const TPlacementMarks& marks);

}  // namespace grottix
