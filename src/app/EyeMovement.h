#pragma once
// The viewer's per-frame eye movement: keys and joystick (the input state set) and the elapsed
// wall-clock time turn, tilt, walk and raise the eye, above the floor and within the pitch limits.

#include "device/InputStates.h"

namespace grottix {

class TD3DScene;

struct TEyeMovement {
    double LastInputTime = 0;  // wall-clock seconds of the last processed input
    float FloorHeight = -1000;

    // Moves the eye for the time since the last input; nothing happens (and the time keeps
    // accumulating) when now equals the last input time or the window is not active.
    void ProcessInput(TD3DScene& scene, const TDXInputStates& states, double now, bool active);
};

}  // namespace grottix
