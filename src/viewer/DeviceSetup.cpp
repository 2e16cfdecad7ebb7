#include "viewer/DeviceSetup.h"

#include "device/CustomDXDraw.h"
#include "device/D3DDevice.h"
#include "viewer/ViewerScene.h"

namespace grottix {

TD3DMatrix FixedProjection() {
    TD3DMatrix projection;
    projection.m[0][0] = 1;
    projection.m[1][1] = 1;
    projection.m[2][2] = 1;
    projection.m[2][3] = 1;
    projection.m[3][2] = -1;
    return projection;
}

TD3DMatrix ProjectionMatrix(const TViewProjection& projection, float nearDistance) {
    if (!projection.Orthographic) return FixedProjection();
    TD3DMatrix orthographic;
    const float halfHeight = projection.HalfHeight > 0 ? projection.HalfHeight : 1;
    orthographic.m[0][0] = 1 / halfHeight;
    orthographic.m[1][1] = 1 / halfHeight;
    orthographic.m[2][2] = projection.Depth > 0 ? 1 / projection.Depth : 1;
    // The view matrix makes w the near distance.
    orthographic.m[3][3] = nearDistance > 0 ? 1 / nearDistance : 1;
    return orthographic;
}

void SetFixedDeviceState(TCustomDXDraw& display, TGrottixViewerScene* scene) {
    if (TD3DDevice* device = display.D3DDevice7()) {
        TD3DViewport7 viewport;
        viewport.dwWidth = uint32_t(display.SurfaceWidth());
        viewport.dwHeight = uint32_t(display.SurfaceHeight());
        viewport.dvMinZ = 0;
        viewport.dvMaxZ = 1;
        device->SetViewport(viewport);
        TD3DMaterial7 material;
        material.diffuse = {1, 1, 1, 0};
        material.ambient = {1, 1, 1, 1};
        device->SetMaterial(material);
        device->SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFFFFFFFF);
        device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, 1);
        device->SetTransform(D3DTRANSFORMSTATE_PROJECTION,
                            scene ? ProjectionMatrix(scene->Projection, scene->NearDistance) : FixedProjection());
        device->SetRenderState(D3DRENDERSTATE_LIGHTING, 0);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    }
    if (scene) scene->Refresh();
}

void SetOptionStates(TD3DDevice& device, bool filtering, bool transparency) {
    const uint32_t filter = filtering ? D3DTFN_LINEAR : D3DTFN_POINT;
    device.SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    device.SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    device.SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, transparency ? 1 : 0);
}

}  // namespace grottix
