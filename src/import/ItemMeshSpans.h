#pragma once
// Where each item's meshes ended up in the scene: an item's faces merge into polygons shared by the
// items of its room with the same texture, so a mesh is a few runs of vertices in those polygons.
// Posing an item again moves exactly those vertices.

#include <map>
#include <vector>

#include "import/MeshPlacement.h"

namespace grottix {

class TD3DPolygon;

// count vertices of polygon from first on (the polygon belongs to the scene).
struct TVertexSpan {
    TD3DPolygon* polygon = nullptr;
    int first = 0;
    int count = 0;
};

struct TItemMeshSpans {
    int index = 0;              // the mesh's number in the moveable
    TMeshPlacement placement;   // where the import placed it, from its own frame to the level's
    std::vector<TVertexSpan> spans;
};

struct TItemSpans {
    int type = 0;               // the entity type
    int room = -1;              // the room it stands in (its polygons' cell), -1 when none
    TMeshPlacement placement;   // the entity's position and facing, level units
    std::vector<TItemMeshSpans> meshes;
};

// Entity index -> its meshes' vertices.
using TItemSpanMap = std::map<int, TItemSpans>;

}  // namespace grottix
