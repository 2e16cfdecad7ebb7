#pragma once
// Worlds for the world-file tests and the fuzz seeds: one item of every kind a world stores, and a
// builder for streams written byte by byte.

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Scene.h"
#include "storage/Stream.h"

namespace grottix::test {

inline TD3DQuadrangleInfo sampleQuadrangle(const std::string& texture) {
    TD3DQuadrangleInfo info;
    info.ID = 11;
    info.Corners = {TD3DVector{0, 1, 0}, {1, 1, 0}, {0, 0, 0}, {1, 0, 0}};
    info.SortDistance = 60000;
    info.Flags = 1;
    info.TexWidth = 0.5f;
    info.TexHeight = 0.25f;
    info.TexLeft = 0.125f;
    info.ScrollU = 0.5f;
    info.Colors = {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9), RGB(10, 11, 12)};
    info.ColorKeyed = true;
    info.TextureName = texture;
    return info;
}

inline TD3DStubObjectInfo sampleStub(const TTextureNames& names) {
    TD3DStubObjectInfo info;
    info.ID = 12;
    info.X = 3;
    info.Y = 4;
    info.Z = 5;
    info.Width = 2;
    info.Height = 6;
    info.Color = RGB(50, 60, 70);
    info.Passes = 16;
    info.FrameCount = 2;
    info.FramePeriod = 1.5f;
    info.FixedFacing = true;
    info.TexWidth = info.TexHeight = 1;
    info.TextureNames = names;
    return info;
}

// An unlit strip of four vertices.
inline TD3DPolygonInfo samplePolygon(const std::string& texture) {
    TD3DPolygonInfo info;
    info.ID = 13;
    info.Color = RGB(90, 80, 70);
    info.TexWidth = info.TexHeight = 1;
    info.Planar = true;
    info.VertexCount = 4;
    info.FrameCount = 1;
    info.PrimitiveType = 5;
    info.Passes = 2;
    info.CullMode = 3;
    info.Vertices = {{0, 0, 0}, {2, 0, 0}, {0, 0, 2}, {2, 0, 2}};
    info.TextureNames[0] = texture;
    return info;
}

inline TD3DGenericTriangleInfo sampleTriangle(const std::string& texture) {
    TD3DGenericTriangleInfo info;
    for (size_t i = 0; i < 3; ++i)
        info.Vertices[i] = {float(i), 1, 2, 0, 0x00102030u * uint32_t(i + 1), 0x00010101u, 0.25f * float(i), 0.5f};
    info.TextureName = texture;
    return info;
}

inline TD3DSceneLightInfo sampleLight() {
    return {14, RGB(255, 0, 0), RGB(0, 0, 255), 10, 1.5f, 1, 2, 3, 1};
}

inline TD3DActionInfo sampleAction(int32_t id, bool finished) {
    TD3DActionInfo info;
    info.ActionKind = kKindActionTranslate;
    info.ID = id;
    info.TargetKind = kKindQuadrangle;
    info.TargetID = 11;
    info.Move = {1, 0, 0};
    info.Period = 2;
    info.Finished = finished;
    return info;
}

// Quadrangle, stub, unlit and prelit polygon, light, data item and action, all with textures of
// built-in colour names so that nothing has to be on disk.
inline void fillWithEveryItem(TD3DScene& scene) {
    const auto quadrangle = sampleQuadrangle("gray8");
    scene.AddObject(kKindQuadrangle, &quadrangle);
    const auto stub = sampleStub({"white", "", "gray4", "black"});
    scene.AddObject(kKindStub, &stub);
    const auto polygon = samplePolygon("gray2");
    scene.AddObject(kKindPolygon, &polygon);
    const auto triangle = sampleTriangle("gray12");
    scene.AddOrMergeObject(kKindGenericTriangle, &triangle);
    scene.AddLight(sampleLight());
    scene.AddData({"notes.dat", 15});
    scene.AddAction(sampleAction(16, false));
}

inline std::vector<uint8_t> worldBytes(TD3DScene& scene) {
    TMemoryStream stream;
    scene.SaveToStream(stream);
    return stream.Bytes();
}

// Little-endian values and characters, in the order given.
class StreamBuilder {
public:
    template <typename T>
    StreamBuilder& put(T value) {
        const auto* p = reinterpret_cast<const uint8_t*>(&value);
        bytes_.insert(bytes_.end(), p, p + sizeof value);
        return *this;
    }
    StreamBuilder& text(std::string_view characters) {
        bytes_.insert(bytes_.end(), characters.begin(), characters.end());
        return *this;
    }
    StreamBuilder& zeros(size_t count) {
        bytes_.insert(bytes_.end(), count, 0);
        return *this;
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace grottix::test
