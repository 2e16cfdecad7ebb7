#include "level/LevelStatics.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <unordered_map>

#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::optional<TLevelBox> StaticBox(const TTombRaiderLevel& level, const TRoomStatic& placed) {
    if (placed.definition < 0 || size_t(placed.definition) >= level.StaticMeshDefinitions.size()) return std::nullopt;
    const auto& rest = level.StaticMeshDefinitions[size_t(placed.definition)].rest;
    int16_t words[6];
    for (size_t i = 0; i < 6; ++i) words[i] = RawField<int16_t>(rest.data(), i * 2);
    if (std::all_of(std::begin(words), std::end(words), [](int16_t w) { return w == 0; })) return std::nullopt;
    // Corners in the plane turned as the mesh is: local +z towards +x as the facing grows.
    const double turn = placed.rotation / 65536.0 * 2 * std::numbers::pi, c = std::cos(turn), s = std::sin(turn);
    TLevelBox box{1e300, double(placed.y) + std::min(words[2], words[3]), 1e300,
                  -1e300, double(placed.y) + std::max(words[2], words[3]), -1e300};
    for (const int16_t x : {words[0], words[1]})
        for (const int16_t z : {words[4], words[5]}) {
            const double wx = placed.x + x * c + z * s, wz = placed.z - x * s + z * c;
            box.minX = std::min(box.minX, wx), box.maxX = std::max(box.maxX, wx);
            box.minZ = std::min(box.minZ, wz), box.maxZ = std::max(box.maxZ, wz);
        }
    return box;
}

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
