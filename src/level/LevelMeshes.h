#pragma once
// The meshes of a level's mesh data, parsed for the static meshes the import draws. Tables grow
// with the data: real levels have meshes far larger than the classic fixed capacities.

#include <array>
#include <cstdint>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct TLevelMeshFace {
    std::array<uint16_t, 4> vertices{};  // triangles use the first three
    uint16_t texture = 0;                // object texture, or colour for coloured faces
};

struct TLevelMesh {
    uint32_t offset = 0;  // byte offset in the mesh data
    std::array<int16_t, 3> centre{};
    int32_t radius = 0;
    std::vector<std::array<int16_t, 3>> vertices;
    std::vector<TLevelMeshFace> texturedRectangles, texturedTriangles;
    std::vector<TLevelMeshFace> colouredRectangles, colouredTriangles;  // codes 1-5
};

struct TLevelMeshList {
    std::vector<TLevelMesh> meshes;
    // For every mesh pointer: the index of the mesh starting at its offset, 0 when none does.
    std::vector<uint32_t> pointerMap;
};

TLevelMeshList ParseLevelMeshes(const TTombRaiderLevel& level);

}  // namespace grottix
