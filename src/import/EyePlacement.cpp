#include "import/EyePlacement.h"

#include "engine/Scene.h"
#include "level/LevelGoTo.h"

namespace grottix {

void PlaceEye(TD3DScene& scene, const TEyePlacement& placement, float scale) {
    const TD3DVector position{float(placement.x / scale), float(-placement.y / scale), float(placement.z / scale)};
    scene.JumpCamera(position);
    scene.SetCameraRotation({float(-placement.pitch), float(placement.yaw), 0});
}

}  // namespace grottix
