#include "engine/StubObject.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "device/D3DDevice.h"
#include "device/Direct3DTexture.h"
#include "engine/SceneItems.h"

namespace grottix {

TD3DStubObject::TD3DStubObject(TCustomDXDraw* display, const TD3DStubObjectInfo& info, const TTextureSet& textures)
    : Textures(textures), Info(info) {
    Construct(display, textures[0]);
}

void TD3DStubObject::InitObject() {
    FaceCamera({}, {});
    if (Texture) {
        Texture->SetTransparent(true);
        return;
    }
    MakeOwnTexture(Info.Color);
    Info.FrameCount = 0;
}

void TD3DStubObject::buildVertices(float ex, float ez) {
    const float hh = Info.Height / 2;
    const float u0 = Info.TexLeft, v0 = Info.TexTop, du = Info.TexWidth, dv = Info.TexHeight;
    const uint32_t c = DeviceColor(Info.Color);
    Vertices[0] = {Info.X - ex, Info.Y + hh, Info.Z - ez, 0, c, 0, u0, v0};
    Vertices[1] = {Info.X + ex, Info.Y + hh, Info.Z + ez, 0, c, 0, u0 + du, v0};
    Vertices[2] = {Info.X - ex, Info.Y - hh, Info.Z - ez, 0, c, 0, u0, v0 + dv};
    Vertices[3] = {Info.X + ex, Info.Y - hh, Info.Z + ez, 0, c, 0, u0 + du, v0 + dv};
}

void TD3DStubObject::SetFacing(float angle) {
    const float hw = Info.Width / 2;
    buildVertices(hw * std::cos(angle), -hw * std::sin(angle));
}

void TD3DStubObject::FaceCamera(TD3DVector eye, TD3DVector angles) {
    if (Info.FixedFacing) {
        SetFacing(angles.y);
        return;
    }
    const float hw = Info.Width / 2;
    const TD3DVector n = Normalize(eye - TD3DVector{Info.X, Info.Y, Info.Z});
    buildVertices(hw * std::cos(angles.y) * std::fabs(std::cos(n.x - angles.x)), -hw * std::sin(angles.y));
}

void TD3DStubObject::CalcBounds() {
    Center = {Info.X, Info.Y, Info.Z};
    Radius = std::max(Info.Height / 2, Info.Width / 2);
}

void TD3DStubObject::Translate(TD3DVector v) {
    Info.X += v.x;
    Info.Y += v.y;
    Info.Z += v.z;
    FaceCamera({}, {});
    BoundsChanged = true;
}

void TD3DStubObject::Rotate(TD3DVector angles) {
    const TD3DVector p = RotationMatrix(angles).Apply({Info.X, Info.Y, Info.Z});
    Info.X = p.x;
    Info.Y = p.y;
    Info.Z = p.z;
    FaceCamera({}, {});
    BoundsChanged = true;
}

float TD3DStubObject::CalcDistance(TD3DVector eye) {
    Distance = Info.SortDistance >= kFixedSortDistance ? float(Info.SortDistance) : DistanceBetween(TD3DVector{Info.X, Info.Y, Info.Z}, eye);
    return Distance;
}

void TD3DStubObject::DoRender() {
    TD3DDevice* device = Device();
    if (!device) return;
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    const int frame = GetFrame();
    if (Info.Passes > 0 && Picture.Empty()) {
        DrawPasses(*device, Info.Passes, Textures[size_t(2 * frame)], Textures[size_t(2 * frame + 1)], D3DPT_TRIANGLESTRIP,
                   Vertices.data(), 4);
        return;
    }
    if (!Picture.Empty()) SetPlainTexture(*device, Texture);
    else SetKeyedTexture(*device, Textures[size_t(2 * frame)]);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, Vertices.data(), 4, 0);
}

void TD3DStubObject::ApplyLight(const TD3DSceneLight& light) {
    TD3DVector origin;
    GetOrigin(origin, 0);
    if (DistanceSquared(origin, light.Position()) >= light.InfluenceRadiusSq) return;
    for (auto& vertex : Vertices) LightVertex(vertex, Info.Color, light);
}

bool TD3DStubObject::framesDiffer() const {
    const int frame = GetFrame();
    return Textures[size_t(2 * frame)] != Textures[size_t(2 * frame + 1)];
}

int32_t TD3DStubObject::GetVertexCount() const {
    if (Info.Passes < 16) return 4 * Info.Passes;
    return framesDiffer() ? 8 : 4;
}

int32_t TD3DStubObject::GetTriangleCount() const {
    if (Info.Passes < 16) return 2 * Info.Passes;
    return framesDiffer() ? 4 : 2;
}

void TD3DStubObject::GetTextureNames(std::vector<std::string>& names) const {
    for (int frame = 0; frame < std::min<int>(Info.FrameCount, 2); ++frame) {
        AddTextureName(names, Info.TextureNames[size_t(2 * frame)]);
        AddTextureName(names, Info.TextureNames[size_t(2 * frame + 1)]);
    }
}

bool TD3DStubObject::IsSameObject(const TD3DObject& other) const {
    const auto* stub = dynamic_cast<const TD3DStubObject*>(&other);
    if (!TD3DObject::IsSameObject(other) || !stub || typeid(*stub) != typeid(*this)) return false;
    const TD3DStubObjectInfo& a = Info;
    const TD3DStubObjectInfo& b = stub->Info;
    if (a.X != b.X || a.Y != b.Y || a.Z != b.Z || a.Width != b.Width || a.Height != b.Height ||
        a.SortDistance != b.SortDistance || a.Color != b.Color || a.Passes != b.Passes || a.FrameCount != b.FrameCount ||
        a.TexWidth != b.TexWidth || a.TexHeight != b.TexHeight || a.TexLeft != b.TexLeft || a.TexTop != b.TexTop)
        return false;
    for (int i = 0; i < 2 * std::clamp<int>(a.FrameCount, 0, 2); ++i)
        if (!SameTextIgnoringCase(a.TextureNames[size_t(i)], b.TextureNames[size_t(i)])) return false;
    return true;
}

}  // namespace grottix
