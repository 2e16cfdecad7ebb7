#include "level/LevelStatics.h"

#include <unordered_map>

#include "level/TombRaiderLevel.h"

namespace grottix {

std::vector<TRoomStatic> ReadStatics(const TTombRaiderLevel& level) {
    // The first definition of each object id (the import draws every one that has it).
    std::unordered_map<uint32_t, int> definitionOf;
    for (size_t i = 0; i < level.StaticMeshDefinitions.size(); ++i)
        definitionOf.try_emplace(level.StaticMeshDefinitions[i].objectId, int(i));
    std::vector<TRoomStatic> statics;
    for (size_t room = 0; room < level.Rooms.size(); ++room) {
        const auto& meshes = level.Rooms[room].staticMeshes;
        for (size_t i = 0; i < meshes.size(); ++i) {
            const TRoomStaticMesh& mesh = meshes[i];
            TRoomStatic& s = statics.emplace_back();
            s.room = int(room);
            s.index = i;
            s.x = mesh.x;
            s.y = mesh.y;
            s.z = mesh.z;
            s.rotation = mesh.rotation;
            s.angle = mesh.rotation * 360.0 / 65536.0;
            s.meshId = mesh.meshId;
            if (level.VersionCode >= 5) {
                s.colour = mesh.intensity1;
            } else {
                s.intensity = mesh.intensity1;
                if (level.VersionCode >= 3) s.intensity2 = mesh.intensity2;
            }
            const auto found = definitionOf.find(mesh.meshId);
            if (found == definitionOf.end()) {
                s.problem = "mesh " + std::to_string(mesh.meshId) + " names no static mesh definition";
                continue;
            }
            s.definition = found->second;
            const uint16_t pointer = level.StaticMeshDefinitions[size_t(found->second)].meshIndex;
            if (pointer >= level.MeshPointers.size())
                s.problem = "its definition's mesh " + std::to_string(pointer) + " lies past the " +
                            std::to_string(level.MeshPointers.size()) + " mesh pointers";
        }
    }
    return statics;
}

}  // namespace grottix
