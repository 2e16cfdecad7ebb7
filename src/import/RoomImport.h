#pragma once
// The rooms of a level: their faces lit by the room vertices, their static meshes and their
// sprites, handed to the face builder and its sink room by room.

namespace grottix {

class TFaceBuilder;
class TTombRaiderLevel;
struct TLevelMeshList;

void ImportRooms(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, float scale);

}  // namespace grottix
