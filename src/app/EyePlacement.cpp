#include "app/EyePlacement.h"

#include <cmath>

#include "engine/Scene.h"
#include "level/LevelGoTo.h"

namespace grottix {

bool PlaceEye(TD3DScene& scene, const TEyePlacement& placement, float scale) {
    for (const double value : {placement.x, placement.y, placement.z, placement.yaw, placement.pitch})
        if (!std::isfinite(value)) return false;
    const TD3DVector eye{float(placement.x / scale), float(-placement.y / scale), float(placement.z / scale)};
    // No speed is measured from the jump. MoveCamera ignores a point equal to the previous one,
    // so the eye first stops where it is.
    if (eye == scene.PreviousEyePosition) scene.MoveCamera(scene.EyePosition);
    scene.MoveCamera(eye);
    // The scene's pitch is positive looking up.
    scene.SetCameraRotation({float(-placement.pitch), float(placement.yaw), 0});
    return true;
}

}  // namespace grottix
