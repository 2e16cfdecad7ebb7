#pragma once
// Puts a scene's eye where a go-to placement of the level says, converted as the import converts the
// level: coordinates divided by the scale, y turned to point up, and the pitch turned with it (the
// placement's pitch looks down when positive, the scene's looks up).

namespace grottix {

class TD3DScene;
struct TEyePlacement;

// Moves the eye at once (no speed is measured from the jump) and turns it; roll becomes 0.
void PlaceEye(TD3DScene& scene, const TEyePlacement& placement, float scale);

}  // namespace grottix
