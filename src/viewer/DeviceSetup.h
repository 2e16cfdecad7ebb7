#pragma once
// Device states the viewer sets: the fixed state of every new drawing surface, and the states that
// follow the rendering options on every frame.

namespace grottix {

class TCustomDXDraw;
class TD3DDevice;
class TD3DScene;

struct TD3DMatrix;

// The fixed projection: 90-degree field of view, the near plane carried by the view matrix, no far plane.
TD3DMatrix FixedProjection();
// Viewport over the surface, white material, ambient, specular, the 90-degree projection, no
// lighting, texture modulated by diffuse colour; then a refresh of the scene when there is one.
void SetFixedDeviceState(TCustomDXDraw& display, TD3DScene* scene);
// Linear or point filtering, colour keying on or off.
void SetOptionStates(TD3DDevice& device, bool filtering, bool transparency);

}  // namespace grottix
