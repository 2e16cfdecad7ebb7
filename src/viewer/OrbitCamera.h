#pragma once
// The camera that inspects: the eye turns round a centre (the selection) at a distance, always
// looking at it. Scene units and the scene's angles: pitch positive looks up, yaw 0 looks along +z.

#include "device/InputStates.h"
#include "engine/EngineTypes.h"

namespace grottix {

class TD3DScene;

struct TOrbitCamera {
    static constexpr float kNearest = 1, kFarthest = 2000;  // distance limits
    static constexpr float kSteepest = 1.55f;               // pitch limit, a little short of straight up or down

    TD3DVector Centre{};
    float Distance = 16;  // two sectors at the viewer's scale
    float Pitch = -0.5f, Yaw = 0;

    // The orbit the eye already stands on: looking the way it looks, at the point as far ahead as
    // the centre is from it (or at the centre itself when the eye looks elsewhere).
    static TOrbitCamera Around(TD3DVector centre, TD3DVector eye, TD3DVector angles);

    void Orbit(float turnRight, float turnUp);  // radians; turning up lowers the eye under the centre
    void Zoom(float factor);                    // the distance times factor, within the limits
    void Pan(float right, float up);            // the centre moves across the view (scene units)
    // Centres on a point, keeping the direction the eye looks from; distance too when above 0.
    void CentreOn(TD3DVector centre, float distance = 0);

    TD3DVector Eye() const;
    TD3DVector Angles() const { return {Pitch, Yaw, 0}; }
    // Puts the scene's eye on the orbit.
    void Apply(TD3DScene& scene) const;

    // The keys for seconds of time: Left and Right orbit round, Up and Down over and under, PageUp
    // and PageDown tilt, + and - change the distance (Shift faster). Whether anything moved.
    bool ProcessInput(const TDXInputStates& states, double seconds);
};

}  // namespace grottix
