#include "engine/QuadrAngle.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "device/D3DDevice.h"
#include "device/Direct3DTexture.h"
#include "engine/SceneItems.h"

namespace grottix {

TD3DQuadrAngle::TD3DQuadrAngle(TCustomDXDraw* display, const TD3DQuadrangleInfo& info, TDirect3DTexture2* texture)
    : Info(info) {
    Construct(display, texture);
}

void TD3DQuadrAngle::BuildVertices() {
    const float u0 = Info.TexLeft, v0 = Info.TexTop, du = Info.TexWidth, dv = Info.TexHeight;
    const float tu[4] = {u0, u0 + du, u0, u0 + du};
    const float tv[4] = {v0, v0, v0 + dv, v0 + dv};
    for (size_t i = 0; i < 4; ++i) {
        const TD3DVector& p = Info.Corners[i];
        Vertices[i] = {p.x, p.y, p.z, 0, DeviceColor(Info.Colors[i]), 0, tu[i], tv[i]};
    }
}

void TD3DQuadrAngle::InitObject() {
    BuildVertices();
    if (!Texture) MakeOwnTexture(Info.Colors);
}

void TD3DQuadrAngle::CalcBounds() {
    TD3DVector sum;
    for (const auto& corner : Info.Corners) sum = sum + corner;
    Center = sum / 4;
    Radius = 0;
    for (const auto& corner : Info.Corners) Radius = std::max(Radius, DistanceBetween(Center, corner));
}

void TD3DQuadrAngle::Translate(TD3DVector v) {
    for (auto& corner : Info.Corners) corner = corner + v;
    BuildVertices();
    BoundsChanged = true;
}

void TD3DQuadrAngle::Rotate(TD3DVector angles) {
    const TRotation rotation = RotationMatrix(angles);
    for (auto& corner : Info.Corners) corner = rotation.Apply(corner);
    Translate({});
}

void TD3DQuadrAngle::GetOrigin(TD3DVector& out, float offset) {
    TD3DVector sum;
    for (const auto& corner : Info.Corners) sum = sum + corner;
    out = sum / 4;
    out.z -= offset;
}

float TD3DQuadrAngle::CalcDistance(TD3DVector eye) {
    if (Info.SortDistance >= kFixedSortDistance) return Distance = float(Info.SortDistance);
    const auto& c = Info.Corners;
    float nearest = DistanceBetween(eye, c[0]);
    for (size_t i = 0; i < 4; ++i) {
        nearest = std::min(nearest, DistanceBetween(eye, c[i]));
        nearest = std::min(nearest, DistanceBetween(eye, (c[i] + c[(i + 1) % 4]) / 2));
    }
    return Distance = nearest;
}

void TD3DQuadrAngle::DoRender() {
    TD3DDevice* device = Device();
    if (!device) return;
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, (Info.Flags & 1) ? D3DCULL_NONE : D3DCULL_CCW);
    if (Info.ScrollU != 0 || Info.ScrollV != 0) {
        // Frac keeps the sign: x - Trunc(x).
        const auto frac = [](double x) { return float(x - std::trunc(x)); };
        const float u = frac(double(Info.TexLeft) + double(Info.ScrollU) * Time);
        const float v = frac(double(Info.TexTop) + double(Info.ScrollV) * Time);
        const float tu[4] = {u, u + Info.TexWidth, u, u + Info.TexWidth};
        const float tv[4] = {v, v, v + Info.TexHeight, v + Info.TexHeight};
        for (size_t i = 0; i < 4; ++i) {
            Vertices[i].tu = tu[i];
            Vertices[i].tv = tv[i];
        }
    }
    if (Info.ColorKeyed && Texture) {
        // Transparency is on only for this draw: the key goes when it is done.
        Texture->Surface().SetColorKey(0);
        Texture->SetTransparent(true);
        SetPlainTexture(*device, Texture);
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, Vertices.data(), 4, 0);
        Texture->SetTransparent(false);
        Texture->Surface().ClearColorKey();
        return;
    }
    SetPlainTexture(*device, Texture);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, Vertices.data(), 4, 0);
}

void TD3DQuadrAngle::ApplyLight(const TD3DSceneLight& light) {
    TD3DVector origin;
    GetOrigin(origin, 0);
    if (DistanceSquared(origin, light.Position()) >= light.InfluenceRadiusSq) return;
    for (size_t i = 0; i < 4; ++i) LightVertex(Vertices[i], Info.Colors[i], light);
}

bool TD3DQuadrAngle::IsSameObject(const TD3DObject& other) const {
    const auto* quad = dynamic_cast<const TD3DQuadrAngle*>(&other);
    return TD3DObject::IsSameObject(other) && quad && typeid(*quad) == typeid(*this) && quad->Info == Info;
}

}  // namespace grottix
