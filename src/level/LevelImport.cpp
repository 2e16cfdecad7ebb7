#include "level/LevelImport.h"

#include <chrono>
#include <cmath>
#include <numbers>

#include "engine/Scene.h"
#include "level/LevelMeshes.h"
#include "level/LevelNames.h"
#include "level/LevelStart.h"
#include "level/SpriteTextures.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

struct Channels {
    unsigned r, g, b;  // 0..31 nominally; the TR1-TR2 rule may wrap beyond
};

class Importer {
public:
    Importer(TD3DScene& scene, TTombRaiderLevel& level, float scale, float gamma)
        : scene_(scene), level_(level), scale_(scale), keep_(1 - gamma), add_(255 * gamma) {}

    void importRooms() {
        meshes_ = ParseLevelMeshes(level_);
        spriteTextures_ = ReadSpriteTextures(level_);
        for (const TRoomRecord& room : level_.Rooms) {
            for (const auto& face : room.rectangles) roomRectangle(room, face);
            for (const auto& face : room.triangles) roomTriangle(room, face);
            for (const auto& mesh : room.staticMeshes) staticMesh(mesh);
            for (const auto& sprite : room.sprites) roomSprite(room, sprite);
        }
    }

private:
    // c * 6 + 69, brightened by gamma; the low 8 bits are kept.
    uint8_t channel(unsigned c) const {
        return uint8_t(int64_t(std::lround(double(c * 6 + 69) * keep_ + add_)) & 0xFF);
    }
    uint32_t colour(Channels c) const { return uint32_t(channel(c.r)) << 16 | uint32_t(channel(c.g)) << 8 | channel(c.b); }

    Channels roomChannels(const TRoomVertex& v) const {
        if (level_.VersionCode <= 4) {
            const unsigned brightness = (31u - (uint16_t(v.lighting) >> 8)) & 0xFF;
            return {brightness, brightness, brightness};
        }
        return {unsigned(v.colour >> 10) & 31, unsigned(v.colour >> 5) & 31, unsigned(v.colour) & 31};
    }

    TD3DLVertex roomVertex(const TRoomRecord& room, const TRoomVertex& v) const {
        TD3DLVertex out;
        out.x = float((double(room.x) + v.x) / scale_);
        out.y = -float(v.y) / scale_;
        out.z = float((double(room.z) + v.z) / scale_);
        out.color = colour(roomChannels(v));
        return out;
    }

    // The object texture of a texture word, when it and its tile exist.
    const TObjectTexture* objectTexture(uint16_t word, std::string& name) const {
        name.clear();
        const size_t t = word & 0x0FFF;
        if (t >= level_.ObjectTextures.size()) return nullptr;
        const TObjectTexture& texture = level_.ObjectTextures[t];
        const int tile = texture.tile & 0x7FFF;
        if (tile >= level_.TileCount) return nullptr;
        name = tileName(tile);
        return &texture;
    }

    const std::string& tileName(int tile) const {
        if (tileNames_.empty())
            for (int i = 1; i <= level_.TileCount; ++i) tileNames_.push_back(MakeLevelTextureName(level_.Path, std::to_string(i)));
        return tileNames_[size_t(tile)];
    }

    template <size_t N>
    void texture(std::array<TD3DLVertex, N>& vertices, const int (&corners)[N], uint16_t word, std::string& name,
                 const float (*defaults)[2]) const {
        const TObjectTexture* texture = objectTexture(word, name);
        for (size_t slot = 0; slot < N; ++slot) {
            const auto corner = size_t(corners[slot]);
            vertices[slot].tu = texture ? texture->corners[corner].u / 256.0f : defaults[corner][0];
            vertices[slot].tv = texture ? texture->corners[corner].v / 256.0f : defaults[corner][1];
        }
    }

    static constexpr int kQuadCorners[4] = {0, 1, 3, 2};
    static constexpr int kTriangleCorners[3] = {0, 1, 2};
    static constexpr float kRectangleDefaults[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    static constexpr float kTriangleDefaults[3][2] = {{0, 0}, {1, 0}, {0, 1}};
    static constexpr float kZeroDefaults[4][2] = {};

    void roomRectangle(const TRoomRecord& room, const TRoomRectangle& face) {
        for (uint16_t index : face.vertices)
            if (index >= room.vertices.size()) return;
        for (size_t slot = 0; slot < 4; ++slot)
            quad_.Vertices[slot] = roomVertex(room, room.vertices[face.vertices[size_t(kQuadCorners[slot])]]);
        texture(quad_.Vertices, kQuadCorners, face.texture, quad_.TextureName, kRectangleDefaults);
        scene_.AddOrMergeObject(kKindGenericQuadrangle, &quad_);
    }

    void roomTriangle(const TRoomRecord& room, const TRoomTriangle& face) {
        for (uint16_t index : face.vertices)
            if (index >= room.vertices.size()) return;
        for (size_t slot = 0; slot < 3; ++slot) triangle_.Vertices[slot] = roomVertex(room, room.vertices[face.vertices[slot]]);
        texture(triangle_.Vertices, kTriangleCorners, face.texture, triangle_.TextureName, kTriangleDefaults);
        scene_.AddOrMergeObject(kKindGenericTriangle, &triangle_);
    }

    void staticMesh(const TRoomStaticMesh& instance) {
        if (meshes_.meshes.empty()) return;
        const TD3DVector origin{float(instance.x) / scale_, float(instance.y) / scale_, float(instance.z) / scale_};
        const double theta = double(instance.rotation) / 65535.0 * 2 * std::numbers::pi;
        for (const auto& definition : level_.StaticMeshDefinitions) {
            if (definition.objectId != instance.meshId || definition.meshIndex >= meshes_.pointerMap.size()) continue;
            emitMesh(meshes_.meshes[meshes_.pointerMap[definition.meshIndex]], origin, float(std::cos(theta)), float(std::sin(theta)));
        }
    }

    TD3DLVertex meshVertex(const std::array<int16_t, 3>& v, TD3DVector origin, float c, float s) const {
        const float mx = v[0] / scale_, my = v[1] / scale_, mz = v[2] / scale_;
        TD3DLVertex out;
        out.x = origin.x + mx * c + mz * s;
        out.y = -origin.y - my;
        out.z = origin.z - mx * s + mz * c;
        out.color = 0x00FFFFFF;
        return out;
    }

    template <size_t N>
    bool meshCorners(const TLevelMesh& mesh, const TLevelMeshFace& face, std::array<TD3DLVertex, N>& vertices,
                     const int (&corners)[N], TD3DVector origin, float c, float s) const {
        for (size_t slot = 0; slot < N; ++slot) {
            const uint16_t index = face.vertices[size_t(corners[slot])];
            if (index >= mesh.vertices.size()) return false;
            vertices[slot] = meshVertex(mesh.vertices[index], origin, c, s);
        }
        return true;
    }

    void emitMesh(const TLevelMesh& mesh, TD3DVector origin, float c, float s) {
        for (const auto& face : mesh.texturedRectangles)
            if (meshCorners(mesh, face, quad_.Vertices, kQuadCorners, origin, c, s)) {
                texture(quad_.Vertices, kQuadCorners, face.texture, quad_.TextureName, kZeroDefaults);
                scene_.AddOrMergeObject(kKindGenericQuadrangle, &quad_);
            }
        for (const auto& face : mesh.texturedTriangles)
            if (meshCorners(mesh, face, triangle_.Vertices, kTriangleCorners, origin, c, s)) {
                texture(triangle_.Vertices, kTriangleCorners, face.texture, triangle_.TextureName, kZeroDefaults);
                scene_.AddOrMergeObject(kKindGenericTriangle, &triangle_);
            }
        for (const auto& face : mesh.colouredRectangles)
            if (meshCorners(mesh, face, quad_.Vertices, kQuadCorners, origin, c, s)) {
                quad_.TextureName.clear();
                scene_.AddOrMergeObject(kKindGenericQuadrangle, &quad_);
            }
        for (const auto& face : mesh.colouredTriangles)
            if (meshCorners(mesh, face, triangle_.Vertices, kTriangleCorners, origin, c, s)) {
                triangle_.TextureName.clear();
                scene_.AddOrMergeObject(kKindGenericTriangle, &triangle_);
            }
    }

    // A camera-facing stub with the sprite texture's picture, sized and placed by its extents.
    void roomSprite(const TRoomRecord& room, const TRoomSprite& sprite) {
        const size_t t = sprite.texture & 0x0FFF;
        if (t >= spriteTextures_.size() || sprite.vertex >= room.vertices.size()) return;
        const TSpriteTexture& texture = spriteTextures_[t];
        const TRoomVertex& v = room.vertices[sprite.vertex];
        TD3DStubObjectInfo info;
        info.ID = NextID();
        info.Color = RGB(255, 255, 255);
        info.Passes = 16;
        info.FrameCount = 1;
        if (texture.tile < level_.TileCount) info.TextureNames[0] = tileName(texture.tile);
        info.TexLeft = float(texture.left) / 256;
        info.TexTop = float(texture.top) / 256;
        info.TexWidth = float(texture.width) / 256;
        info.TexHeight = float(texture.height) / 256;
        info.Width = float((double(texture.extentRight) - texture.extentLeft) / scale_);
        info.Height = float((double(texture.extentBottom) - texture.extentTop) / scale_);
        info.X = float((double(room.x) + v.x) / scale_);
        info.Y = float(-(v.y + (double(texture.extentTop) + texture.extentBottom) / 2) / scale_);
        info.Z = float((double(room.z) + v.z) / scale_);
        scene_.AddObject(kKindStub, &info);
    }

    TD3DScene& scene_;
    TTombRaiderLevel& level_;
    float scale_;
    double keep_, add_;
    TLevelMeshList meshes_;
    std::vector<TSpriteTexture> spriteTextures_;
    mutable std::vector<std::string> tileNames_;
    TD3DGenericQuadrangleInfo quad_;
    TD3DGenericTriangleInfo triangle_;
};

// The eye at the level's start, in scene units, turned the way the player faces.
int placeEye(TD3DScene& scene, const TTombRaiderLevel& level, float scale) {
    const TLevelStart start = FindLevelStart(level);
    scene.SetCameraPosition({float(start.x / scale), float(-start.y / scale), float(start.z / scale)});
    scene.SetCameraRotation({0, float(start.yaw), 0});
    return start.room;
}

// Times the steps of one import, one lap per step.
class TLapTimer {
public:
    void lap(double& into) {
        const auto now = std::chrono::steady_clock::now();
        into = std::chrono::duration<double>(now - mark_).count();
        mark_ = now;
    }

private:
    std::chrono::steady_clock::time_point mark_ = std::chrono::steady_clock::now();
};

void importLoaded(TD3DScene& scene, TTombRaiderLevel& level, float scale, float gamma, TImportReport& report, TLapTimer& timer) {
    level.RegisterTiles();
    timer.lap(report.Textures);
    if (level.Rooms.empty()) return;
    Importer(scene, level, scale, gamma).importRooms();
    timer.lap(report.Converting);
    report.StartRoom = placeEye(scene, level, scale);
}

}  // namespace

void ImportLoadedLevel(TD3DScene& scene, TTombRaiderLevel& level, float scale, float gamma) {
    TImportReport ignored;
    TLapTimer timer;
    importLoaded(scene, level, scale, gamma, ignored, timer);
}

uint8_t ImportTombRaiderMap(TD3DScene& scene, const std::string& path, float scale, float gamma, TImportReport* report) {
    TImportReport ignored;
    TImportReport& into = report ? *report : ignored;
    TLapTimer timer;
    TTombRaiderLevel level(&scene);
    const uint8_t result = level.LoadLevel(path);
    timer.lap(into.Reading);
    if (result != kLevelLoaded) return result;
    importLoaded(scene, level, scale, gamma, into, timer);
    return kLevelLoaded;
}

}  // namespace grottix
