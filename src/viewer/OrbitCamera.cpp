#include "viewer/OrbitCamera.h"

#include <algorithm>
#include <cmath>

#include "engine/Scene.h"

namespace grottix {

namespace {

TD3DVector forward(float pitch, float yaw) {
    return {std::sin(yaw) * std::cos(pitch), std::sin(pitch), std::cos(yaw) * std::cos(pitch)};
}

constexpr float kTurnPerSecond = 1.6f;  // radians a second a key turns
constexpr float kZoomPerSecond = 2.5f;  // the distance grows or shrinks this many times a second

}  // namespace

TOrbitCamera TOrbitCamera::Around(TD3DVector centre, TD3DVector eye, TD3DVector angles) {
    TOrbitCamera orbit;
    const TD3DVector toCentre = centre - eye;
    const float length = VectorLength(toCentre);
    if (length > 1e-3f) {
        orbit.Pitch = std::asin(std::clamp(toCentre.y / length, -1.0f, 1.0f));
        orbit.Yaw = std::atan2(toCentre.x, toCentre.z);
    } else {
        orbit.Pitch = angles.x;
        orbit.Yaw = angles.y;
    }
    orbit.Pitch = std::clamp(orbit.Pitch, -kSteepest, kSteepest);
    orbit.Centre = centre;
    orbit.Distance = std::clamp(length, kNearest, kFarthest);
    return orbit;
}

void TOrbitCamera::Orbit(float turnRight, float turnUp) {
    if (!std::isfinite(turnRight) || !std::isfinite(turnUp)) return;
    Yaw = std::remainder(Yaw + turnRight, 6.2831853f);
    Pitch = std::clamp(Pitch + turnUp, -kSteepest, kSteepest);
}

void TOrbitCamera::Zoom(float factor) {
    if (std::isfinite(factor) && factor > 0) Distance = std::clamp(Distance * factor, kNearest, kFarthest);
}

void TOrbitCamera::Pan(float right, float up) {
    if (!std::isfinite(right) || !std::isfinite(up)) return;
    // The view's right and up at the centre.
    const TD3DVector across{std::cos(Yaw), 0, -std::sin(Yaw)};
    const TD3DVector ahead = forward(Pitch, Yaw);
    const TD3DVector above{-ahead.x * ahead.y, ahead.x * ahead.x + ahead.z * ahead.z, -ahead.z * ahead.y};
    const float aboveLength = VectorLength(above);
    Centre = Centre + across * right + (aboveLength > 1e-6f ? above * (up / aboveLength) : TD3DVector{0, up, 0});
}

void TOrbitCamera::CentreOn(TD3DVector centre, float distance) {
    Centre = centre;
    if (distance > 0) Distance = std::clamp(distance, kNearest, kFarthest);
}

TD3DVector TOrbitCamera::Eye() const { return Centre - forward(Pitch, Yaw) * Distance; }

void TOrbitCamera::Apply(TD3DScene& scene) const {
    scene.JumpCamera(Eye());
    scene.SetCameraRotation(Angles());
}

bool TOrbitCamera::ProcessInput(const TDXInputStates& states, double seconds) {
    if (!(seconds > 0)) return false;
    const float speed = states.Contains(InputButton5) ? 2.5f : 1;
    const auto step = float(seconds) * speed;
    const TOrbitCamera before = *this;
    float right = 0, up = 0;
    if (states.Contains(InputLeft)) right -= kTurnPerSecond * step;
    if (states.Contains(InputRight)) right += kTurnPerSecond * step;
    // Up walks forward in the free camera: here it rises over the centre, looking further down.
    if (states.Contains(InputUp)) up -= kTurnPerSecond * step;
    if (states.Contains(InputDown)) up += kTurnPerSecond * step;
    if (states.Contains(InputButton2)) up += kTurnPerSecond * step;  // PageUp: tilt up
    if (states.Contains(InputButton1)) up -= kTurnPerSecond * step;  // PageDown: tilt down
    Orbit(right, up);
    if (states.Contains(InputButton3)) Zoom(std::pow(kZoomPerSecond, -step));  // +: nearer
    if (states.Contains(InputButton4)) Zoom(std::pow(kZoomPerSecond, step));   // -: farther
    return before.Centre != Centre || before.Distance != Distance || before.Pitch != Pitch || before.Yaw != Yaw;
}

}  // namespace grottix
