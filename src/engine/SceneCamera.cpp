// The eye of a scene: setting, moving and reading its position and angles.

#include <cmath>
#include <numbers>

#include "engine/Scene.h"

namespace grottix {

namespace {

// The angle in [-pi, pi], in one step whatever its size (a loop of turns never ends on a huge one).
float normalizedAngle(float angle) {
    constexpr float pi = std::numbers::pi_v<float>;
    if (!std::isfinite(angle)) return 0;
    if (angle >= -pi && angle <= pi) return angle;
    return float(std::remainder(double(angle), 2 * std::numbers::pi));
}

}  // namespace

void TD3DScene::SetCameraPosition(TD3DVector position) {
    if (position == EyePosition || position == PreviousEyePosition) return;
    PreviousEyePosition = EyePosition;
    EyePosition = position;
    Changes |= ChangedPosition | ChangedLights;
}

void TD3DScene::MoveCamera(TD3DVector position) {
    if (position == PreviousEyePosition) return;
    PreviousEyePosition = EyePosition = position;
    Changes |= ChangedPosition | ChangedLights;
}

void TD3DScene::JumpCamera(TD3DVector position) {
    if (position == EyePosition && position == PreviousEyePosition) return;
    PreviousEyePosition = EyePosition = position;
    Changes |= ChangedPosition | ChangedLights;
}

void TD3DScene::SetCameraRotation(TD3DVector angles) {
    if (angles == EyeRotation) return;
    PreviousEyeRotation = EyeRotation;
    EyeRotation = {normalizedAngle(angles.x), normalizedAngle(angles.y), normalizedAngle(angles.z)};
    Changes |= ChangedRotation;
}

TD3DVector TD3DScene::GetCameraPosition() const {
    TD3DVector position = EyePosition + Info.Translation;
    if (IsChild && Parent) position = position + Parent->GetCameraPosition();
    return position;
}

TD3DVector TD3DScene::GetCameraRotation() const {
    TD3DVector angles = EyeRotation + Info.Rotation;
    if (IsChild && Parent) angles = angles + Parent->GetCameraRotation();
    return angles;
}

TD3DVector TD3DScene::GetWorldTranslation() const {
    return Parent ? Info.Translation + Parent->GetWorldTranslation() : Info.Translation;
}

TD3DVector TD3DScene::GetWorldRotation() const { return Parent ? Info.Rotation + Parent->GetWorldRotation() : Info.Rotation; }

void TD3DScene::SetCameraToObject(TD3DObject& object, float offset) {
    TD3DVector origin;
    object.GetOrigin(origin, offset);
    SetCameraPosition(origin);
}

float TD3DScene::DistanceTo(TD3DVector point) const { return VectorLength(EyePosition - Info.Translation - point); }

}  // namespace grottix
