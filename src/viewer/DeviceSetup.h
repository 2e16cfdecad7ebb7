#pragma once
// Device states the viewer sets: the fixed state of every new drawing surface, and the states that
// follow the rendering options on every frame.

namespace grottix {

class TCustomDXDraw;
class TD3DDevice;
class TGrottixViewerScene;

struct TD3DMatrix;

// The fixed projection: 90-degree field of view, the near plane carried by the view matrix, no far plane.
TD3DMatrix FixedProjection();

// How the view projects: the fixed perspective, or orthographic (the view from above a room).
struct TViewProjection {
    bool Orthographic = false;
    float HalfHeight = 8;  // orthographic: scene units from the middle of the view to its top edge
    float Depth = 4096;    // orthographic: how far ahead of the eye the view reaches (scene units)
};

// The fixed projection, or the orthographic one: x and y scaled by 1 / HalfHeight (the view matrix
// already narrows x to 4:3), depth from 0 at the eye to 1 at Depth, and w undone to 1 from the
// view matrix's near distance. Both renderers and the picking draw through this one matrix.
TD3DMatrix ProjectionMatrix(const TViewProjection& projection, float nearDistance);

// Viewport over the surface, white material, ambient, specular, the scene's projection (the
// 90-degree one without a scene), no lighting, texture modulated by diffuse colour; then a refresh
// of the scene when there is one.
void SetFixedDeviceState(TCustomDXDraw& display, TGrottixViewerScene* scene);
// Linear or point filtering, colour keying on or off.
void SetOptionStates(TD3DDevice& device, bool filtering, bool transparency);

}  // namespace grottix
