#include "viewer/EyeMovement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/Scene.h"

namespace grottix {

void TEyeMovement::ProcessInput(TD3DScene& scene, const TDXInputStates& states, double now, bool active) {
    if (now == LastInputTime || !active) return;
    if (states.Contains(InputButton6) && Start) {
        scene.MoveCamera(Start->Position);
        scene.SetCameraRotation(Start->Rotation);
        if (Orbit) {
            const TD3DVector r = Start->Rotation;
            const TD3DVector ahead{std::sin(r.y) * std::cos(r.x), std::sin(r.x), std::cos(r.y) * std::cos(r.x)};
            Orbit = TOrbitCamera::Around(Start->Position + ahead * Orbit->Distance, Start->Position, r);
        }
        LastInputTime = now;
        return;
    }
    if (Orbit) {
        if (Orbit->ProcessInput(states, now - LastInputTime)) Orbit->Apply(scene);
        LastInputTime = now;
        return;
    }
    const TD3DVector position = scene.GetCameraPosition();
    const TD3DVector angles = scene.GetCameraRotation();
    float x = position.x, y = position.y, z = position.z;
    float pitch = angles.x, yaw = angles.y;
    const float roll = angles.z;

    const double dt = now - LastInputTime;
    const bool run = states.Contains(InputButton5);
    const double speed = run ? 24 : 12;
    const double turnFactor = run ? 7.5 : 15;
    const auto turn = float(dt * turnFactor * (std::numbers::pi / 180) * speed);
    const auto step = float(speed * dt);

    if (states.Contains(InputLeft)) yaw -= turn;
    else if (states.Contains(InputRight)) yaw += turn;
    if (states.Contains(InputButton1)) pitch -= turn;
    else if (states.Contains(InputButton2)) pitch += turn;
    if (states.Contains(InputUp)) {
        x += std::sin(yaw) * step;
        z += std::cos(yaw) * step;
    } else if (states.Contains(InputDown)) {
        x -= std::sin(yaw) * step;
        z -= std::cos(yaw) * step;
    }
    if (states.Contains(InputButton3)) y += step;
    else if (states.Contains(InputButton4)) y -= step;
    y = std::max(y, FloorHeight + 0.5f);
    constexpr float kHalfPi = 1.5707964f;
    if (pitch < -std::numbers::pi_v<float> / 2) pitch = -kHalfPi;
    else if (pitch > std::numbers::pi_v<float> / 2) pitch = kHalfPi;

    if (TD3DVector{x, y, z} != position) scene.SetCameraPosition({x, y, z});
    scene.SetCameraRotation({pitch, yaw, roll});
    LastInputTime = now;
}

}  // namespace grottix
