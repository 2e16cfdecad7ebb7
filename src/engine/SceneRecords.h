#pragma once
// The plain records every scene item is created from and hands back; the level import fills them
// and world files store them.

#include <array>
#include <string>
#include <variant>
#include <vector>

#include "device/D3DTypes.h"
#include "engine/EngineTypes.h"

namespace grottix {

struct TD3DStubObjectInfo {
    int32_t ID = 0;
    float X = 0, Y = 0, Z = 0;
    float Width = 0, Height = 0;
    int32_t SortDistance = 0;
    TColor Color = 0;
    uint8_t Passes = 0;
    int16_t FrameCount = 0;
    float FramePeriod = 0;
    bool FixedFacing = false;
    float TexWidth = 0, TexHeight = 0, TexLeft = 0, TexTop = 0;
    TTextureNames TextureNames;
    bool operator==(const TD3DStubObjectInfo&) const = default;
};

struct TD3DQuadrangleInfo {
    int32_t ID = 0;
    std::array<TD3DVector, 4> Corners{};
    int32_t SortDistance = 0;
    uint8_t Flags = 0;  // bit 0: double-sided
    float TexWidth = 0, TexHeight = 0, TexLeft = 0, TexTop = 0;
    float ScrollU = 0, ScrollV = 0;
    std::array<TColor, 4> Colors{};
    bool ColorKeyed = false;
    std::string TextureName;
    bool operator==(const TD3DQuadrangleInfo&) const = default;
};

constexpr int kMaxPolygonVertices = 32767;

struct TD3DPolygonInfo {
    int32_t ID = 0;
    TColor Color = 0;
    float TexWidth = 0, TexHeight = 0, TexLeft = 0, TexTop = 0;
    bool Planar = false;
    int16_t VertexCount = 0;
    int16_t FrameCount = 0;
    int32_t SortDistance = 0;
    float FramePeriod = 0;
    int32_t PrimitiveType = 0;  // 4 list, 5 strip, 6 fan
    uint8_t Passes = 0;
    int32_t CullMode = 0;       // 1 none, 3 counter-clockwise
    std::vector<TD3DVector> Vertices;  // the first VertexCount are used
    TTextureNames TextureNames;
};

// Three lit vertices with everything final, and the texture name.
struct TD3DGenericTriangleInfo {
    std::array<TD3DLVertex, 3> Vertices{};
    std::string TextureName;
};

// Four lit vertices in strip order (triangles 0, 1, 2 and 1, 3, 2), and the texture name.
struct TD3DGenericQuadrangleInfo {
    std::array<TD3DLVertex, 4> Vertices{};
    std::string TextureName;
};

struct TD3DSceneInfo {
    int32_t ID = 0;
    TD3DVector Translation;
    TD3DVector Rotation;
    std::string FileName;
    bool operator==(const TD3DSceneInfo&) const = default;
};

struct TCustomDataInfo {
    std::string Name;
    int32_t ID = 0;
};

struct TD3DSceneLightInfo {
    int32_t ID = 0;
    TColor Color = 0;
    TColor SpecularColor = 0;
    float Range = 0;
    float RangeFactor = 0;
    float X = 0, Y = 0, Z = 0;
    uint8_t LightKind = 0;  // 0 fading, 1 constant, other: no effect
};

// The first 55 bytes of an action record are stored in world files byte for byte.
struct TD3DActionInfo {
    uint8_t ActionKind = 0;  // 210 rotate in place, 211 translate, 212 rotate about a point
    int32_t ID = 0;
    int32_t TargetKind = 0;
    int32_t TargetID = 0;
    TD3DVector Move;
    TD3DVector Turn;
    double Period = 0;
    bool Finished = false;
    std::array<uint8_t, 6> Reserved{};  // bytes 49-54

    static constexpr size_t kStoredSize = 55;
    std::array<uint8_t, kStoredSize> ToBytes() const;
    static TD3DActionInfo FromBytes(const std::array<uint8_t, kStoredSize>& bytes);
};

// A record handed to AddObject and friends; the kind must match the record's type.
using TInfoRecordRef = std::variant<const TD3DQuadrangleInfo*, const TD3DStubObjectInfo*, const TD3DPolygonInfo*,
                                    const TD3DSceneInfo*, const TD3DGenericQuadrangleInfo*, const TD3DGenericTriangleInfo*>;

// What an item hands back from GetRecord.
using TInfoRecord = std::variant<std::monostate, TD3DQuadrangleInfo, TD3DStubObjectInfo, TD3DPolygonInfo, TD3DSceneInfo>;

template <typename T>
const T* RecordAs(const TInfoRecordRef& ref) {
    const T* const* p = std::get_if<const T*>(&ref);
    return p ? *p : nullptr;
}

}  // namespace grottix
