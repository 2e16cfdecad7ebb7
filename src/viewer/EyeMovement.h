#pragma once
// The viewer's per-frame eye movement: keys and joystick (the input state set) and the elapsed
// wall-clock time turn, tilt, walk and raise the eye, above the floor and within the pitch limits.

#include <optional>

#include "device/InputStates.h"
#include "engine/EngineTypes.h"
#include "viewer/OrbitCamera.h"

namespace grottix {

class TD3DScene;

// Where a level puts the eye when it opens.
struct TEyePlace {
    TD3DVector Position, Rotation;
    bool operator==(const TEyePlace&) const = default;
};

struct TEyeMovement {
    double LastInputTime = 0;  // wall-clock seconds of the last processed input
    float FloorHeight = -1000;
    std::optional<TEyePlace> Start;  // where InputButton6 puts the eye back; none without a level
    // In orbit mode the keys turn the eye round the orbit's centre (TOrbitCamera::ProcessInput)
    // instead of walking it; none: the free camera.
    std::optional<TOrbitCamera> Orbit;

    // Moves the eye for the time since the last input; nothing happens (and the time keeps
    // accumulating) when now equals the last input time or the window is not active. While
    // InputButton6 is held the eye stays at Start instead (an orbit then centres ahead of it).
    void ProcessInput(TD3DScene& scene, const TDXInputStates& states, double now, bool active);
};

}  // namespace grottix
