#include "engine/Polygon.h"

#include <algorithm>
#include <typeinfo>

#include "device/D3DDevice.h"
#include "device/Direct3DTexture.h"
#include "engine/SceneItems.h"

namespace grottix {

TD3DPolygon::TD3DPolygon(TCustomDXDraw* display, const TD3DPolygonInfo& info, const TTextureSet& textures)
    : Textures(textures) {
    Info = info;
    Info.Vertices.clear();
    NameKey = TextKeyIgnoringCase(Info.TextureNames[0]);
    const int count = std::clamp<int>(info.VertexCount, 0, int(info.Vertices.size()));
    SetVertexCount(count);
    std::copy_n(info.Vertices.begin(), count, Positions.begin());
    BuildVertices(false);
    Construct(display, textures[0]);
}

void TD3DPolygon::InitObject() {
    if (!Texture) MakeOwnTexture(Info.Color);
    if (Info.PrimitiveType < kTriangleList || Info.PrimitiveType > kTriangleFan)
        Info.PrimitiveType = kTriangleStrip;
}

void TD3DPolygon::SetPrimaryTexture(const std::string& name, TDirect3DTexture2* texture) {
    if (OwnsTexture || !texture) return;
    Info.TextureNames[0] = name;
    NameKey = TextKeyIgnoringCase(name);
    Textures[0] = texture;
    Texture = texture;
}

void TD3DPolygon::SetVertexCount(int n) {
    Count = n;
    Info.VertexCount = int16_t(n);
    if (n <= 0) {
        Count = 0;
        Info.VertexCount = 0;
        Positions = {};
        LitVertices = {};
        Capacity = 0;
        return;
    }
    Capacity = (n / kCapacityStep + 1) * kCapacityStep;
    Positions.resize(size_t(n));
    LitVertices.resize(size_t(n));
}

// Capacity counts slots in steps of 512; the arrays themselves grow geometrically, so that merging
// thousands of faces one by one copies each vertex only a few times.
void TD3DPolygon::reserveFor(int total) {
    if (total <= Capacity) return;
    Capacity = (total / kCapacityStep + 1) * kCapacityStep;
}

void TD3DPolygon::append(const TD3DLVertex& vertex) {
    Positions.push_back({vertex.x, vertex.y, vertex.z});
    LitVertices.push_back(vertex);
    ++Count;
    Info.VertexCount = int16_t(Count);
}

void TD3DPolygon::BuildVertices(bool keep) {
    if (Prelit) {
        for (int i = 0; i < Count; ++i) {
            const TD3DVector& p = Positions[size_t(i)];
            TD3DLVertex& v = LitVertices[size_t(i)];
            v.x = p.x;
            v.y = p.y;
            v.z = p.z;
        }
        return;
    }
    const uint32_t c = DeviceColor(Info.Color);
    for (int i = 0; i < Count; ++i) {
        const TD3DVector& p = Positions[size_t(i)];
        TD3DLVertex& v = LitVertices[size_t(i)];
        float tu = v.tu, tv = v.tv;
        if (!keep) {
            float a = 0, b = 0;
            if (Info.Planar) {
                a = p.x;
                b = p.z;
            } else if (Info.PrimitiveType == kTriangleStrip) {
                a = float(i % 4 == 1 || i % 4 == 3);
                b = float(i % 4 >= 2);
            } else if (Info.PrimitiveType == kTriangleList) {
                a = float(i % 3 == 1);
                b = float(i % 3 == 2);
            } else if (Info.PrimitiveType == kTriangleFan && i > 0) {
                a = float(i % 4 != 3);
                b = float(i % 4 != 1);
            }
            tu = Info.TexWidth * a + Info.TexLeft;
            tv = Info.TexHeight * b + Info.TexTop;
        }
        v = {p.x, p.y, p.z, 0, c, 0, tu, tv};
    }
}

void TD3DPolygon::Translate(TD3DVector v) {
    for (auto& p : Positions) p = p + v;
    BuildVertices(true);
    BoundsChanged = true;
}

void TD3DPolygon::Rotate(TD3DVector angles) {
    const TRotation rotation = RotationMatrix(angles);
    for (auto& p : Positions) p = rotation.Apply(p);
    BuildVertices(true);
    BoundsChanged = true;
}

void TD3DPolygon::CalcBounds() {
    Center = {};
    Radius = 0;
    if (Count == 0) return;
    TD3DVector sum;
    for (const auto& p : Positions) sum = sum + p;
    Center = sum / float(Count);
    for (const auto& p : Positions) Radius = std::max(Radius, DistanceBetween(Center, p));
}

int TD3DPolygon::Triangles() const {
    switch (Info.PrimitiveType) {
        case kTriangleList: return Count / 3;
        case kTriangleStrip: case kTriangleFan: return std::max(Count - 2, 0);
        default: return 0;
    }
}

float TD3DPolygon::CalcDistance(TD3DVector eye) {
    if (Info.SortDistance >= kFixedSortDistance) return Distance = float(Info.SortDistance);
    if (Count == 0) return Distance = 0;
    switch (Info.PrimitiveType) {
        case kTriangleList: case kTriangleStrip: {
            const TD3DVector mean = (Positions.front() + Positions[size_t(Count / 2)] + Positions.back()) / 3;
            return Distance = DistanceBetween(eye, mean);
        }
        case kTriangleFan: return Distance = DistanceBetween(eye, Positions.front());
        default: return Distance = 0;
    }
}

void TD3DPolygon::GetOrigin(TD3DVector& out, float offset) {
    out = Count ? Positions.front() : TD3DVector{};
    if (Count) out.z -= offset;
}

void TD3DPolygon::ApplyLight(const TD3DSceneLight& light) {
    TD3DVector origin;
    GetOrigin(origin, 0);
    if (DistanceSquared(origin, light.Position()) >= light.InfluenceRadiusSq) return;
    for (auto& vertex : LitVertices) LightVertex(vertex, Prelit ? ColorFromDevice(vertex.color) : Info.Color, light);
}

bool TD3DPolygon::texturesDiffer() const {
    const int frame = GetFrame();
    return Textures[size_t(2 * frame)] != Textures[size_t(2 * frame + 1)];
}

int32_t TD3DPolygon::GetVertexCount() const {
    if (Info.Passes < 16) return Info.Passes * Count;
    return texturesDiffer() ? 2 * Count : Count;
}

int32_t TD3DPolygon::GetTriangleCount() const {
    if (Info.Passes < 16) return Info.Passes * Triangles();
    return texturesDiffer() ? 2 * Triangles() : Triangles();
}

void TD3DPolygon::GetTextureNames(std::vector<std::string>& names) const {
    for (int frame = 0; frame < std::clamp<int>(Info.FrameCount, 0, 2); ++frame) {
        AddTextureName(names, Info.TextureNames[size_t(2 * frame)]);
        AddTextureName(names, Info.TextureNames[size_t(2 * frame + 1)]);
    }
}

TInfoRecord TD3DPolygon::GetRecord() const {
    TD3DPolygonInfo record = Info;
    record.Vertices = Positions;
    return record;
}

void TD3DPolygon::DoRender() {
    TD3DDevice* device = Device();
    if (!device || Count == 0) return;
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, uint32_t(Info.CullMode));
    const int frame = GetFrame();
    TDirect3DTexture2* primary = Textures[size_t(2 * frame)];
    const auto type = TD3DPrimitiveType(Info.PrimitiveType);
    if (SafeMode && type == kTriangleList) {
        SetKeyedTexture(*device, primary);
        for (int i = 0; i + 3 <= Count; i += 3) device->DrawPrimitive(type, D3DFVF_LVERTEX, &LitVertices[size_t(i)], 3, 0);
        return;
    }
    if (Info.Passes > 0 && Picture.Empty()) {
        DrawPasses(*device, Info.Passes, primary, Textures[size_t(2 * frame + 1)], type, LitVertices.data(), uint32_t(Count));
        return;
    }
    SetPlainTexture(*device, Texture);
    device->DrawPrimitive(type, D3DFVF_LVERTEX, LitVertices.data(), uint32_t(Count), 0);
}

bool TD3DPolygon::IsSameObject(const TD3DObject& other) const {
    const auto* polygon = dynamic_cast<const TD3DPolygon*>(&other);
    if (!TD3DObject::IsSameObject(other) || !polygon || typeid(*polygon) != typeid(*this)) return false;
    const TD3DPolygonInfo& a = Info;
    const TD3DPolygonInfo& b = polygon->Info;
    if (a.Color != b.Color || a.TexWidth != b.TexWidth || a.TexHeight != b.TexHeight || a.TexLeft != b.TexLeft ||
        a.TexTop != b.TexTop || a.Planar != b.Planar || a.VertexCount != b.VertexCount || a.FrameCount != b.FrameCount ||
        a.SortDistance != b.SortDistance || a.FramePeriod != b.FramePeriod || a.PrimitiveType != b.PrimitiveType ||
        a.Passes != b.Passes || a.CullMode != b.CullMode)
        return false;
    for (int i = 0; i < 2 * std::clamp<int>(a.FrameCount, 0, 2); ++i)
        if (!SameTextIgnoringCase(a.TextureNames[size_t(i)], b.TextureNames[size_t(i)])) return false;
    return Positions == polygon->Positions;
}

}  // namespace grottix
