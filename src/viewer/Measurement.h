#pragma once
// Measuring in the view (Tools > Measure): two points picked on faces, the line between them drawn
// over everything, and the distance and height difference in the level's own measures.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/EngineTypes.h"

namespace grottix {

class TD3DDevice;

constexpr uint32_t kMeasureColour = 0xFF30F0F0;  // ARGB: cyan, apart from the selection's yellow

struct TMeasure {
    TD3DVector From;                // scene units
    std::optional<TD3DVector> To;   // none while the second point is still to be picked
};

// The distance between two points of the scene (scale: level units per scene unit) in level units,
// sectors (1024) and clicks (256), and how far the second lies above or below the first, e.g.
// "Distance 2048 units = 2.00 sectors = 8.0 clicks; 512 units (2.0 clicks) up".
std::string DescribeMeasure(TD3DVector from, TD3DVector to, float scale);

// Draws a small cross at each point picked and the line between them with the current world and
// view, without the depth test; leaves the states it changes as they were.
void DrawMeasure(TD3DDevice& device, const TMeasure& measure);

}  // namespace grottix
