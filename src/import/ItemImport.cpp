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

// TR4 and TR5 keep Lara's real meshes apart: her moveable (type 0) holds placeholders, these two
// moveables the skin and the joints between its parts, mesh for mesh.
constexpr uint32_t kLaraSkinType = 8, kLaraSkinJointsType = 9;
constexpr int kFirstSkinnedCode = 6;

// The meshes drawn at each place of a moveable's mesh tree; joints, when the level has them, are
// drawn at the same places as the meshes.
struct TPlacedMeshes {
    std::vector<const TLevelMesh*> meshes, joints;
};

class TItemImporter {
public:
    TItemImporter(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, float scale, int32_t group,
                  int32_t playerGroup = 0)
        : faces_(faces), level_(level), meshes_(meshes), scale_(scale), group_(group), playerGroup_(playerGroup),
          sprites_(ReadSpriteTextures(level)) {
        for (const TMoveable& m : ReadMoveables(level)) moveables_.try_emplace(m.objectId, m);
        for (const TSpriteSequence& s : ReadSpriteSequences(level)) sequences_.try_emplace(s.objectId, s);
        for (uint32_t i = 0; i < meshes.meshes.size(); ++i) meshAt_.try_emplace(meshes.meshes[i].offset, i);
    }

    bool importEntity(const TLevelEntity& entity, int index) {
        const bool player = entity.type == kPlayerEntityType;
        if (player && playerGroup_ == 0) return false;
        faces_.Group = player ? playerGroup_ : group_;
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
    bool atOrigin(uint32_t objectId, bool offset, int number) {
        const auto moveable = moveables_.find(objectId);
        if (moveable == moveables_.end() || moveable->second.meshCount == 0) return false;
        TLevelEntity origin;
        origin.type = int16_t(objectId);
        origin.intensity = -1;
        TPlacedObject object;
        object.kind = TPlacedObject::TKind::Item;
        object.number = number;
        object.type = int(objectId);
        faces_.Tint = kNoTint;
        return moveableItem(origin, moveable->second, object, offset);
    }

private:
    // The parsed meshes the moveable's mesh pointers name, or nothing when one names none.
    bool meshesOf(const TMoveable& moveable, std::vector<const TLevelMesh*>& out) const {
        out.clear();
        if (size_t(moveable.firstMesh) + moveable.meshCount > level_.MeshPointers.size()) return false;
        for (size_t i = 0; i < moveable.meshCount; ++i) {
            const auto found = meshAt_.find(level_.MeshPointers[moveable.firstMesh + i]);
            if (found == meshAt_.end()) return false;
            out.push_back(&meshes_.meshes[found->second]);
        }
        return true;
    }

    // The player's meshes: in TR4 and TR5 the skin and joints in place of the placeholders, where
    // the level holds them for every mesh.
    bool playerMeshes(const TMoveable& moveable, TPlacedMeshes& out) const {
        if (!meshesOf(moveable, out.meshes)) return false;
        if (level_.VersionCode < kFirstSkinnedCode) return true;
        std::vector<const TLevelMesh*> skin;
        const auto skinned = moveables_.find(kLaraSkinType);
        if (skinned == moveables_.end() || !meshesOf(skinned->second, skin) || skin.size() != out.meshes.size()) return true;
        out.meshes = std::move(skin);
        const auto joints = moveables_.find(kLaraSkinJointsType);
        if (joints != moveables_.end() && meshesOf(joints->second, out.joints) && out.joints.size() != out.meshes.size())
            out.joints.clear();
        return true;
    }

    // offset: whether the first frame's offset moves the meshes from the entity's position.
    bool moveableItem(const TLevelEntity& entity, const TMoveable& moveable, TPlacedObject& object, bool offset = true) {
        TPlacedMeshes placed;
        const auto tree = ReadMeshTree(level_, moveable);
        const auto pose = ReadFirstFrame(level_, moveable);
        const bool found = entity.type == kPlayerEntityType ? playerMeshes(moveable, placed) : meshesOf(moveable, placed.meshes);
        if (!tree || !pose || !found) return false;
        const std::vector<const TLevelMesh*>& meshes = placed.meshes;
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
            if (i < placed.joints.size()) EmitMesh(faces_, level_, *placed.joints[i], placements[i], scale_, look);
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
    int32_t playerGroup_;
    std::vector<TSpriteTexture> sprites_;
    std::unordered_map<uint32_t, TMoveable> moveables_;
    std::unordered_map<int32_t, TSpriteSequence> sequences_;
    std::unordered_map<uint32_t, uint32_t> meshAt_;  // mesh data offset -> parsed mesh
};

}  // namespace

int ImportItems(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, float scale, int32_t group,
                int32_t playerGroup, const std::vector<uint8_t>& leaveOut) {
    TItemImporter importer(faces, level, meshes, scale, group, playerGroup);
    const int32_t previous = faces.Group;
    faces.Group = group;
    int drawn = 0;
    const std::vector<TLevelEntity> entities = ReadEntities(level);
    for (size_t i = 0; i < entities.size(); ++i)
        if ((i >= leaveOut.size() || !leaveOut[i]) && importer.importEntity(entities[i], int(i)) &&
            entities[i].type != kPlayerEntityType)
            ++drawn;
    faces.Group = previous;
    faces.Tint = kNoTint;
    return drawn;
}

bool ImportMoveable(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, uint32_t objectId,
                    float scale, int32_t group, bool offset, int number) {
    TItemImporter importer(faces, level, meshes, scale, group);
    const int32_t previous = faces.Group;
    faces.Group = group;
    const bool drawn = importer.atOrigin(objectId, offset, number);
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
