#pragma once
// The level's entities (pick-ups, doors, creatures, ...) in the pose the level shows before
// anything moves: the meshes of a moveable placed through its mesh tree with the first frame of its
// first animation (each mesh between the sink's BeginMesh and EndMesh), or the first picture of a
// sprite sequence. Any entity whose tables do not hold what it names is left out.

#include <cstdint>
#include <vector>

namespace grottix {

class TFaceBuilder;
class TTombRaiderLevel;
struct TLevelMeshList;

// Hands the items to the face builder with the group ID, each between the sink's BeginObject and
// EndObject; returns how many entities were drawn, the player left out of the count. The player
// (Lara, from her moveable, type 0; TR4 and TR5 with her skin and joint meshes in place of its
// placeholders) is drawn with playerGroup, or left out when it is 0. leaveOut (when not empty): per
// entity, 1 for those not to hand over.
int ImportItems(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, float scale, int32_t group,
                int32_t playerGroup = 0, const std::vector<uint8_t>& leaveOut = {});

// One moveable (by object id) at the origin in its first pose, between the sink's BeginObject and
// EndObject with the group ID (the object's number: number, -1 by default); false when the level
// cannot draw it. offset: whether its first frame's offset moves it from the origin.
bool ImportMoveable(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, uint32_t objectId,
                    float scale, int32_t group, bool offset = true, int number = -1);

// The level's own sky (the sky moveable of TR2 to TR5, when the level has it), its meshes placed
// around the origin without its first frame's offset, between the sink's BeginObject and EndObject with the group ID; false when
// there is none to draw.
bool ImportLevelSky(TFaceBuilder& faces, const TTombRaiderLevel& level, const TLevelMeshList& meshes, float scale, int32_t group);

}  // namespace grottix
