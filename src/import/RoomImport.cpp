#include "import/RoomImport.h"

#include "engine/EngineTypes.h"
#include "import/FaceSink.h"
#include "import/LevelFaces.h"
#include "level/LevelMeshes.h"
#include "import/MeshFaces.h"
#include "import/MeshPlacement.h"
#include "import/SpriteStubs.h"
#include "level/RoomFlags.h"
#include "level/SpriteTextures.h"
#include "import/WaterTint.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

class TRoomImporter {
public:
    TRoomImporter(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, float scale)
        : faces_(faces), level_(level), meshes_(meshes), scale_(scale), sprites_(ReadSpriteTextures(level)) {}

    void importRoom(size_t index) {
        const TRoomRecord& room = level_.Rooms[index];
        faces_.Sink().BeginRoom(index);
        faces_.Tint = IsWaterRoom(room) ? WaterTint(level_.VersionCode) : kNoTint;
        for (const auto& face : room.rectangles) roomFace(room, face.vertices, face.texture);
        for (const auto& face : room.triangles) roomFace(room, face.vertices, face.texture);
        for (const auto& mesh : room.staticMeshes) staticMesh(mesh, int(index));
        for (const auto& sprite : room.sprites) roomSprite(room, sprite);
        faces_.Tint = kNoTint;
        faces_.Sink().EndRoom();
    }

private:
    // Codes 1-4 light a vertex with one brightness (31 less the high byte of its lighting, 0 brightest),
    // later codes with its 15-bit colour.
    uint32_t vertexColour(const TRoomVertex& v) const {
        if (level_.VersionCode <= 4) {
            const unsigned brightness = (31u - (uint16_t(v.lighting) >> 8)) & 0xFF;
            return faces_.Colour(brightness, brightness, brightness);
        }
        return faces_.Colour(unsigned(v.colour >> 10) & 31, unsigned(v.colour >> 5) & 31, unsigned(v.colour) & 31);
    }

    TD3DLVertex roomVertex(const TRoomRecord& room, const TRoomVertex& v) const {
        TD3DLVertex out{};
        out.x = float((double(room.x) + v.x) / scale_);
        out.y = -float(v.y) / scale_;
        out.z = float((double(room.z) + v.z) / scale_);
        out.color = vertexColour(v);
        return out;
    }

    template <size_t N>
    void roomFace(const TRoomRecord& room, const uint16_t (&indices)[N], uint16_t texture) {
        std::array<TD3DLVertex, N> corners;
        for (size_t c = 0; c < N; ++c) {
            if (indices[c] >= room.vertices.size()) return;
            corners[c] = roomVertex(room, room.vertices[indices[c]]);
        }
        if constexpr (N == 4) faces_.Rectangle(corners, texture, TFaceBuilder::TCorners::Room);
        else faces_.Triangle(corners, texture, TFaceBuilder::TCorners::Room);
    }

    // Every definition of the instance's object id places its mesh (a pointer that starts no mesh
    // gives the first), turned by rotation / 65535 of a turn and always white.
    void staticMesh(const TRoomStaticMesh& instance, int room) {
        if (meshes_.meshes.empty()) return;
        TPlacedObject object;
        object.number = instance.meshId;
        object.room = room;
        object.placement = TMeshPlacement::Translation(instance.x, instance.y, instance.z) *
                           TMeshPlacement::RotationY(double(instance.rotation) / 65535.0);
        for (const auto& definition : level_.StaticMeshDefinitions) {
            if (definition.objectId != instance.meshId || definition.meshIndex >= meshes_.pointerMap.size()) continue;
            faces_.Sink().BeginObject(object);
            EmitMesh(faces_, level_, meshes_.meshes[meshes_.pointerMap[definition.meshIndex]], object.placement, scale_, kStaticLook);
            faces_.Sink().EndObject();
        }
    }

    void roomSprite(const TRoomRecord& room, const TRoomSprite& sprite) {
        const size_t t = sprite.texture & 0x0FFF;
        if (t >= sprites_.size() || sprite.vertex >= room.vertices.size()) return;
        const TRoomVertex& v = room.vertices[sprite.vertex];
        AddSpriteStub(faces_, level_, sprites_[t], double(room.x) + v.x, v.y, double(room.z) + v.z, scale_, NextID());
    }

    inline static const TMeshLook kStaticLook{};

    TFaceBuilder& faces_;
    const TTombRaiderLevel& level_;
    const TLevelMeshList& meshes_;
    float scale_;
    std::vector<TSpriteTexture> sprites_;
};

}  // namespace

void ImportRooms(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, float scale) {
    TRoomImporter importer(faces, level, meshes, scale);
    for (size_t room = 0; room < level.Rooms.size(); ++room) importer.importRoom(room);
}

}  // namespace grottix
