#pragma once
// Where the level's converted faces go: the viewer's scene, or an exporter. Besides the faces and
// sprites, a sink hears where each room and each placed object (a static mesh, an item) begins and
// ends, with the object's placement, so that it can keep them apart.

#include <cstddef>
#include <cstdint>

#include "engine/SceneRecords.h"
#include "import/MeshPlacement.h"

namespace grottix {

// What the face builder knows about a face beyond its record.
struct TFaceTraits {
    size_t objectTexture = SIZE_MAX;  // the face's object texture, SIZE_MAX when it has none usable
    int range = -1, phase = -1;       // the animated range its texture cycles in, and where; -1 when still
    int32_t group = 0;                // 0: a level face; otherwise the group's ID (the items)
    // Bit 15 of a textured face's texture word: the games draw the face from both sides. Without
    // it they draw only its front: the side from which its corners run clockwise (the inside of a
    // room, the outside of a mesh).
    bool doubleSided = false;
};

struct TPlacedObject {
    enum class TKind { StaticMesh, Item };
    TKind kind = TKind::StaticMesh;
    int number = 0;  // static mesh: its object id; item: its index in the entities table
    int type = 0;    // item: its entity type
    int room = -1;   // the room it stands in, -1 when none
    // From the object's own frame to the level's, in level units (y grows downwards).
    TMeshPlacement placement;
};

// One mesh of an item: its number in the moveable, the mesh it hangs from in the mesh tree (-1 for
// the root) and where it is placed, from the mesh's own frame to the level's.
struct TPlacedMesh {
    int index = 0;
    int parent = -1;
    TMeshPlacement placement;
};

class TFaceSink {
public:
    virtual ~TFaceSink() = default;
    // Faces with every vertex final (position, colour, texture coordinates) and their texture name.
    virtual void AddQuadrangle(const TD3DGenericQuadrangleInfo& face, const TFaceTraits& traits) = 0;
    virtual void AddTriangle(const TD3DGenericTriangleInfo& face, const TFaceTraits& traits) = 0;
    // A sprite: a camera-facing, colour-keyed picture.
    virtual void AddSprite(const TD3DStubObjectInfo& sprite) = 0;

    // Rooms come in order; their static meshes and sprites come between BeginRoom and EndRoom.
    virtual void BeginRoom(size_t /*room*/) {}
    virtual void EndRoom() {}
    // The faces and sprites of one placed object come between these.
    virtual void BeginObject(const TPlacedObject& /*object*/) {}
    virtual void EndObject() {}
    // Within an item, the faces of each of its meshes come between these.
    virtual void BeginMesh(const TPlacedMesh& /*mesh*/) {}
    virtual void EndMesh() {}
};

}  // namespace grottix
