#pragma once
// Puts the scene's eye where a go-to placement (level units, y down, pitch positive looking down)
// says, at once: the window's Go to and the command line's go-to options place it the same way.

namespace grottix {

class TD3DScene;
struct TEyePlacement;

// scale: level units per scene unit. A placement with a coordinate or angle that is not finite
// leaves the eye where it is; returns whether the eye was placed.
bool PlaceEye(TD3DScene& scene, const TEyePlacement& placement, float scale);

}  // namespace grottix
