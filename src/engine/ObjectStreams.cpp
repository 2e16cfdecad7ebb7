// The stream layouts of the scene items: each class reads and writes its own fields; the world
// reader and writer put the kind byte and the texture references around them.

#include <algorithm>
#include <array>

#include "engine/Polygon.h"
#include "engine/QuadrAngle.h"
#include "engine/Scene.h"
#include "engine/StubObject.h"
#include "engine/WorldFileStream.h"
#include "storage/ByteReader.h"

namespace grottix {

static_assert(sizeof(TD3DVector) == 12, "positions are stored as three floats");

namespace {

constexpr size_t kQuadrangleFields = 98;
constexpr size_t kStubFields = 56;
constexpr size_t kPolygonHeader = 46;  // without the prelit byte
constexpr size_t kLightRecord = 33;

// A fixed-size record read in one piece; the reader over it checks every field.
template <size_t N>
std::array<uint8_t, N> readRecord(TStream& stream, const char* what) {
    std::array<uint8_t, N> bytes{};
    ReadExact(stream, bytes.data(), N, what);
    return bytes;
}

// Files may hold any frame count; the objects index two frames at most.
int16_t clampFrameCount(int16_t count) { return std::clamp<int16_t>(count, 0, 2); }

void readQuadrangleFields(TStream& stream, TD3DQuadrangleInfo& info) {
    const auto bytes = readRecord<kQuadrangleFields>(stream, "a quadrangle record");
    ByteReader in{bytes};
    info.ID = in.i32();
    for (auto& corner : info.Corners) corner = {in.f32(), in.f32(), in.f32()};
    info.SortDistance = in.i32();
    info.Flags = in.u8();
    info.TexWidth = in.f32();
    info.TexHeight = in.f32();
    info.TexLeft = in.f32();
    info.TexTop = in.f32();
    info.ScrollU = in.f32();
    info.ScrollV = in.f32();
    for (auto& color : info.Colors) color = in.u32();
    info.ColorKeyed = in.u8() != 0;
}

void readStubFields(TStream& stream, TD3DStubObjectInfo& info) {
    const auto bytes = readRecord<kStubFields>(stream, "a stub record");
    ByteReader in{bytes};
    info.ID = in.i32();
    info.X = in.f32();
    info.Y = in.f32();
    info.Z = in.f32();
    info.Width = in.f32();
    info.Height = in.f32();
    info.SortDistance = in.i32();
    info.Color = in.u32();
    info.Passes = in.u8();
    info.FrameCount = clampFrameCount(in.i16());
    info.FramePeriod = in.f32();
    info.TexWidth = in.f32();
    info.TexHeight = in.f32();
    info.TexLeft = in.f32();
    info.TexTop = in.f32();
    info.FixedFacing = in.u8() != 0;
}

// A polygon as stored: its header and positions, and the lit vertices when it is prelit.
struct TStoredPolygon {
    TD3DPolygonInfo Info;
    bool Prelit = false;
    std::vector<TD3DLVertex> LitVertices;
};

TStoredPolygon readPolygon(TStream& stream, int32_t version) {
    TStoredPolygon stored;
    if (version >= kFirstPrelitVersion) stored.Prelit = ReadValue<uint8_t>(stream, "a polygon record") != 0;
    const auto bytes = readRecord<kPolygonHeader>(stream, "a polygon record");
    ByteReader in{bytes};
    TD3DPolygonInfo& info = stored.Info;
    info.ID = in.i32();
    info.Color = in.u32();
    info.TexWidth = in.f32();
    info.TexHeight = in.f32();
    info.TexLeft = in.f32();
    info.TexTop = in.f32();
    info.Planar = in.u8() != 0;
    info.SortDistance = in.i32();
    info.VertexCount = in.i16();
    info.FrameCount = clampFrameCount(in.i16());
    info.FramePeriod = in.f32();
    info.PrimitiveType = in.i32();
    info.Passes = in.u8();
    info.CullMode = in.i32();
    if (info.VertexCount < 0) throw EWorldFileError("World data holds a polygon with a negative vertex count");
    const auto count = size_t(info.VertexCount);
    if (stored.Prelit) {
        RequireBytes(stream, count * sizeof(TD3DLVertex), "a polygon's vertices");
        stored.LitVertices.resize(count);
        ReadExact(stream, stored.LitVertices.data(), count * sizeof(TD3DLVertex), "a polygon's vertices");
        for (const TD3DLVertex& v : stored.LitVertices) info.Vertices.push_back({v.x, v.y, v.z});
    } else {
        RequireBytes(stream, count * sizeof(TD3DVector), "a polygon's vertices");
        info.Vertices.resize(count);
        ReadExact(stream, info.Vertices.data(), count * sizeof(TD3DVector), "a polygon's vertices");
    }
    return stored;
}

}  // namespace

// ---- quadrangles ----

std::unique_ptr<TD3DQuadrAngle> TD3DQuadrAngle::CreateFromStream(TStream& stream, int32_t /*version*/,
                                                                 const std::string& textureName,
                                                                 TDirect3DTexture2* texture, TCustomDXDraw* display) {
    TD3DQuadrangleInfo info;
    readQuadrangleFields(stream, info);
    info.TextureName = textureName;
    return std::make_unique<TD3DQuadrAngle>(display, info, texture);
}

void TD3DQuadrAngle::LoadFromStream(TStream& stream, int32_t /*version*/) {
    readQuadrangleFields(stream, Info);
    BuildVertices();
    BoundsChanged = true;
}

void TD3DQuadrAngle::SaveToStream(TStream& stream) const {
    WriteValue(stream, Info.ID);
    for (const auto& corner : Info.Corners) WriteValue(stream, corner);
    WriteValue(stream, Info.SortDistance);
    WriteValue(stream, Info.Flags);
    for (float value : {Info.TexWidth, Info.TexHeight, Info.TexLeft, Info.TexTop, Info.ScrollU, Info.ScrollV})
        WriteValue(stream, value);
    for (TColor color : Info.Colors) WriteValue(stream, uint32_t(color));
    WriteValue(stream, uint8_t(Info.ColorKeyed));
}

// ---- stubs ----

std::unique_ptr<TD3DStubObject> TD3DStubObject::CreateFromStream(TStream& stream, int32_t /*version*/,
                                                                 const TTextureNames& names, const TTextureSet& textures,
                                                                 TCustomDXDraw* display) {
    TD3DStubObjectInfo info;
    readStubFields(stream, info);
    info.TextureNames = names;
    return std::make_unique<TD3DStubObject>(display, info, textures);
}

void TD3DStubObject::LoadFromStream(TStream& stream, int32_t /*version*/) {
    readStubFields(stream, Info);
    FaceCamera({}, {});
    BoundsChanged = true;
}

void TD3DStubObject::SaveToStream(TStream& stream) const {
    WriteValue(stream, Info.ID);
    for (float value : {Info.X, Info.Y, Info.Z, Info.Width, Info.Height}) WriteValue(stream, value);
    WriteValue(stream, Info.SortDistance);
    WriteValue(stream, uint32_t(Info.Color));
    WriteValue(stream, Info.Passes);
    WriteValue(stream, Info.FrameCount);
    WriteValue(stream, Info.FramePeriod);
    for (float value : {Info.TexWidth, Info.TexHeight, Info.TexLeft, Info.TexTop}) WriteValue(stream, value);
    WriteValue(stream, uint8_t(Info.FixedFacing));
}

// ---- polygons ----

std::unique_ptr<TD3DPolygon> TD3DPolygon::CreateFromStream(TStream& stream, int32_t version, const TTextureNames& names,
                                                           const TTextureSet& textures, TCustomDXDraw* display) {
    TStoredPolygon stored = readPolygon(stream, version);
    stored.Info.TextureNames = names;
    auto polygon = std::make_unique<TD3DPolygon>(display, stored.Info, textures);
    if (stored.Prelit) {
        polygon->PrelitFlag = polygon->Prelit = true;
        polygon->LitVertices = std::move(stored.LitVertices);
    }
    return polygon;
}

void TD3DPolygon::LoadFromStream(TStream& stream, int32_t version) {
    TStoredPolygon stored = readPolygon(stream, version);
    stored.Info.TextureNames = Info.TextureNames;
    const std::vector<TD3DVector> positions = std::move(stored.Info.Vertices);
    Info = std::move(stored.Info);
    SetVertexCount(int(positions.size()));
    std::copy(positions.begin(), positions.end(), Positions.begin());
    PrelitFlag = Prelit = stored.Prelit;
    if (Prelit) LitVertices = std::move(stored.LitVertices);
    else BuildVertices(false);
    BoundsChanged = true;
}

void TD3DPolygon::SaveToStream(TStream& stream) const {
    WriteValue(stream, uint8_t(Prelit));
    WriteValue(stream, Info.ID);
    WriteValue(stream, uint32_t(Info.Color));
    for (float value : {Info.TexWidth, Info.TexHeight, Info.TexLeft, Info.TexTop}) WriteValue(stream, value);
    WriteValue(stream, uint8_t(Info.Planar));
    WriteValue(stream, Info.SortDistance);
    WriteValue(stream, int16_t(Count));
    WriteValue(stream, Info.FrameCount);
    WriteValue(stream, Info.FramePeriod);
    WriteValue(stream, Info.PrimitiveType);
    WriteValue(stream, Info.Passes);
    WriteValue(stream, Info.CullMode);
    if (Prelit) stream.WriteBuffer(LitVertices.data(), int64_t(size_t(Count) * sizeof(TD3DLVertex)));
    else stream.WriteBuffer(Positions.data(), int64_t(size_t(Count) * sizeof(TD3DVector)));
}

// ---- lights, data items, actions ----

TD3DSceneLight::TD3DSceneLight(TStream& stream, int32_t version) : TD3DSceneLight(TD3DSceneLightInfo{}) {
    LoadFromStream(stream, version);
}

void TD3DSceneLight::LoadFromStream(TStream& stream, int32_t /*version*/) {
    const auto bytes = readRecord<kLightRecord>(stream, "a light record");
    ByteReader in{bytes};
    Info.ID = in.i32();
    Info.Color = in.u32();
    Info.SpecularColor = in.u32();
    Info.Range = in.f32();
    Info.RangeFactor = in.f32();
    Info.X = in.f32();
    Info.Y = in.f32();
    Info.Z = in.f32();
    Info.LightKind = in.u8();
    updateInfluence();
}

void TD3DSceneLight::SaveToStream(TStream& stream) const {
    WriteValue(stream, Info.ID);
    WriteValue(stream, uint32_t(Info.Color));
    WriteValue(stream, uint32_t(Info.SpecularColor));
    for (float value : {Info.Range, Info.RangeFactor, Info.X, Info.Y, Info.Z}) WriteValue(stream, value);
    WriteValue(stream, Info.LightKind);
}

TCustomData::TCustomData(TStream& stream, int32_t version, const std::string& name, TStream* dataStream)
    : Stream(dataStream) {
    RequireBytes(stream, 4, "a data item");
    LoadFromStream(stream, version);
    Info.Name = name;
}

TD3DAction::TD3DAction(TStream& stream, int32_t version, TD3DScene* scene) : TD3DAction(TD3DActionInfo{}, scene) {
    RequireBytes(stream, TD3DActionInfo::kStoredSize, "an action record");
    LoadFromStream(stream, version);
}

}  // namespace grottix
