#pragma once
// The outline the view draws around what is selected: the twelve edges of a box, in a colour of
// their own, over everything else so that the selection shows through walls too.

#include <cstddef>
#include <cstdint>

#include "device/D3DTypes.h"
#include "import/SceneFaceSink.h"

namespace grottix {

class TD3DDevice;

constexpr uint32_t kSelectionOutlineColour = 0xFFFFE000;  // ARGB: bright yellow

// Draws the box's edges with the current world and view; leaves the depth test, blending and the
// stage-0 texture as they were.
void DrawBoxOutline(TD3DDevice& device, const TSceneBox& box, uint32_t colour = kSelectionOutlineColour);

// Draws count/2 untextured lines with the current matrices, over everything (no depth test, no
// blending), and puts the states and texture back.
void DrawLinesOverEverything(TD3DDevice& device, const TD3DLVertex* lines, size_t count);

}  // namespace grottix
