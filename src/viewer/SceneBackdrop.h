#pragma once
// What the viewer draws around the level itself: the level's own sky, kept centred on the eye and
// behind everything, and the tint laid over the whole view while the eye is under water. Both go
// through the device interface only, so every backend shows them, and both leave the device's
// states as they found them.

#include <cstdint>
#include <vector>

#include "device/D3DTypes.h"

namespace grottix {

class TD3DDevice;
class TD3DObject;
class TDirectDrawSurface;

// Draws the objects as if the eye stood at the scene's origin (they move with the eye and turn with
// the world), without reading or writing depth, so that whatever is drawn later covers them.
void DrawAroundEye(TD3DDevice& device, const std::vector<TD3DObject*>& objects);

// The same for a triangle strip with one texture, lowered by lower (scene units) first: the
// generated sky behind the level's own, with its widest ring at the eye's height.
void DrawStripAroundEye(TD3DDevice& device, TDirectDrawSurface* texture, const std::vector<TD3DLVertex>& strip, float lower);

// Multiplies every pixel of the view by the colour (0x00RRGGBB): one full-view quad, drawn last.
void TintView(TD3DDevice& device, uint32_t colour);

}  // namespace grottix
