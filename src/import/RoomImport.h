#pragma once
// The rooms of a level as scene content: their faces lit by the room vertices, their static
// meshes and their sprites.

namespace grottix {

class TD3DScene;
class TFaceBuilder;
class TTombRaiderLevel;
struct TLevelMeshList;

void ImportRooms(TD3DScene& scene, TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, float scale);

}  // namespace grottix
