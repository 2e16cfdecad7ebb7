#pragma once
// How water rooms look: a blue-green colour multiplied into the light of every face of a water room
// (and of the static meshes and items in it), one per game. The view through the water, when the
// eye stands in a water room, is the same colour a little darker.

#include <cstdint>

namespace grottix {

constexpr uint32_t kNoTint = 0x00FFFFFF;

// The tint (device colour, 0x00RRGGBB) of a game's water rooms by version code.
uint32_t WaterTint(int versionCode);

// Each channel of colour multiplied by the tint's (255 keeps it); alpha kept.
uint32_t TintColour(uint32_t colour, uint32_t tint);

// The colour the whole view is multiplied by while the eye is under water.
uint32_t UnderwaterViewTint(int versionCode);

}  // namespace grottix
