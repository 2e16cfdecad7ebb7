#include "import/ItemImport.h"

#include <optional>
#include <unordered_map>

#include "import/FaceSink.h"
#include "level/LevelEntities.h"
#include "import/LevelFaces.h"
#include "level/LevelMeshes.h"
#include "level/LevelMoveables.h"
#include "import/MeshFaces.h"
#include "import/MeshPlacement.h"
#include "import/MoveablePose.h"
#include "import/SpriteStubs.h"
#include "level/RoomFlags.h"
#include "level/SpriteTextures.h"
#include "import/WaterTint.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

class TItemImporter {
public:
    TItemImporter(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, float scale, int32_t group)
        : faces_(faces), level_(level), meshes_(meshes), scale_(scale), group_(group),
          sprites_(ReadSpriteTextures(level)) {
        for (const TMoveable& m : ReadMoveables(level)) moveables_.try_emplace(m.objectId, m);
        for (const TSpriteSequence& s : ReadSpriteSequences(level)) sequences_.try_emplace(s.objectId, s);
        for (uint32_t i = 0; i < meshes.meshes.size(); ++i) meshAt_.try_emplace(meshes.meshes[i].offset, i);
    }

    bool importEntity(const TLevelEntity& entity, int index) {
        if (entity.type == kPlayerEntityType) return false;
        TPlacedObject object;
        object.kind = TPlacedObject::TKind::Item;
        object.number = index;
        object.type = entity.type;
        object.room = entity.room >= 0 && size_t(entity.room) < level_.Rooms.size() ? entity.room : -1;
        const bool underWater = object.room >= 0 && IsWaterRoom(level_.Rooms[size_t(object.room)]);
        faces_.Tint = underWater ? WaterTint(level_.VersionCode) : kNoTint;
        const auto moveable = moveables_.find(uint32_t(uint16_t(entity.type)));
        if (moveable != moveables_.end() && moveable->second.meshCount > 0) return moveableItem(entity, moveable->second, object);
        const auto sequence = sequences_.find(entity.type);
        if (sequence == sequences_.end() || sequence->second.count <= 0 || sequence->second.first >= sprites_.size()) return false;
        object.placement = TMeshPlacement::Translation(entity.x, entity.y, entity.z);
        faces_.Sink().BeginObject(object);
        AddSpriteStub(faces_, level_, sprites_[sequence->second.first], entity.x, entity.y, entity.z, scale_, group_);
        faces_.Sink().EndObject();
        return true;
    }

    // A moveable's meshes in their first pose around the origin, untinted (the level's sky, or one
    // moveable on its own).
    // offset: whether the first frame's offset moves it (the sky leaves it out).
    bool atOrigin(uint32_t objectId, bool offset) {
        const auto moveable = moveables_.find(objectId);
        if (moveable == moveables_.end() || moveable->second.meshCount == 0) return false;
        TLevelEntity origin;
        origin.type = int16_t(objectId);
        origin.intensity = -1;
        TPlacedObject object;
        object.kind = TPlacedObject::TKind::Item;
        object.number = -1;
        object.type = int(objectId);
        faces_.Tint = kNoTint;
        return moveableItem(origin, moveable->second, object, offset);
    }

private:
    // The parsed meshes the moveable's mesh pointers name, or nothing when one names none.
    bool meshesOf(const TMoveable& moveable, std::vector<const TLevelMesh*>& out) const {
        if (size_t(moveable.firstMesh) + moveable.meshCount > level_.MeshPointers.size()) return false;
        for (size_t i = 0; i < moveable.meshCount; ++i) {
            const auto found = meshAt_.find(level_.MeshPointers[moveable.firstMesh + i]);
            if (found == meshAt_.end()) return false;
            out.push_back(&meshes_.meshes[found->second]);
        }
        return true;
    }

    // offset: whether the first frame's offset moves the meshes from the entity's position.
    bool moveableItem(const TLevelEntity& entity, const TMoveable& moveable, TPlacedObject& object, bool offset = true) {
        std::vector<const TLevelMesh*> meshes;
        const auto tree = ReadMeshTree(level_, moveable);
        const auto pose = ReadFirstFrame(level_, moveable);
        if (!tree || !pose || !meshesOf(moveable, meshes)) return false;
        const TMeshLook look = lookOf(entity);
        object.placement = TMeshPlacement::Translation(entity.x, entity.y, entity.z) * TMeshPlacement::RotationY(entity.angle / 65536.0);
        faces_.Sink().BeginObject(object);
        std::vector<TMeshPlacement> placements;
        TAnimationPose first = TAnimationPose::Of(*pose);
        if (!offset) first.offset = {};
        PlaceMeshes(*tree, first, object.placement, placements);
        const std::vector<int> parents = MeshParents(*tree);
        for (size_t i = 0; i < meshes.size(); ++i) {
            faces_.Sink().BeginMesh({int(i), parents[i], placements[i]});
            EmitMesh(faces_, level_, *meshes[i], placements[i], scale_, look);
            faces_.Sink().EndMesh();
        }
        faces_.Sink().EndObject();
        return true;
    }

    // Codes 1-5 light an entity by its intensity (0 brightest, 8191 darkest; -1 as the room);
    // later codes keep another value there, and their items are lit as bright as room faces get.
    TMeshLook lookOf(const TLevelEntity& entity) const {
        unsigned light = 31;
        if (level_.VersionCode <= 5 && entity.intensity >= 0) light = 31 - ((unsigned(entity.intensity) & 0x1FFF) >> 8);
        TMeshLook look;
        look.colour = faces_.Colour(light, light, light);
        look.palette = true;
        look.colouredName = "white";
        return look;
    }

    TFaceBuilder& faces_;
    const TTombRaiderLevel& level_;
    const TLevelMeshList& meshes_;
    float scale_;
    int32_t group_;
    std::vector<TSpriteTexture> sprites_;
    std::unordered_map<uint32_t, TMoveable> moveables_;
    std::unordered_map<int32_t, TSpriteSequence> sequences_;
    std::unordered_map<uint32_t, uint32_t> meshAt_;  // mesh data offset -> parsed mesh
};

}  // namespace

int ImportItems(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, float scale, int32_t group,
                const std::vector<uint8_t>& leaveOut) {
    TItemImporter importer(faces, level, meshes, scale, group);
    const int32_t previous = faces.Group;
    faces.Group = group;
    int drawn = 0;
    const std::vector<TLevelEntity> entities = ReadEntities(level);
    for (size_t i = 0; i < entities.size(); ++i)
        if (i >= leaveOut.size() || !leaveOut[i]) drawn += importer.importEntity(entities[i], int(i));
    faces.Group = previous;
    faces.Tint = kNoTint;
    return drawn;
}

bool ImportMoveable(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, uint32_t objectId,
                    float scale, int32_t group, bool offset) {
    TItemImporter importer(faces, level, meshes, scale, group);
    const int32_t previous = faces.Group;
    faces.Group = group;
    const bool drawn = importer.atOrigin(objectId, offset);
    faces.Group = previous;
    return drawn;
}

bool ImportLevelSky(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, float scale, int32_t group) {
    const std::optional<uint32_t> objectId = LevelSkyObject(level.VersionCode);
    // The games draw the sky centred on the eye: its first frame's offset is left out, so that its
    // horizon lies at the eye's height.
    return objectId && ImportMoveable(faces, level, meshes, *objectId, scale, group, false);
}

}  // namespace grottix
