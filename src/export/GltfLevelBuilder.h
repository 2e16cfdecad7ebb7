#pragma once
// Gathers a converted level for glTF: one node per room holding its faces, static meshes and items
// as child nodes with their own transforms, sprites on nodes of their own (a sprite picture shared
// by several sprites is one mesh). Vertices are welded per node and material; triangles with no
// area are left out.
//
// A triangle's front in glTF is the side from which its corners run counter-clockwise; the games
// draw a face's side from which its corners run clockwise (a room's inside, a mesh's outside). So
// every triangle is written with its corners in reverse order, and only faces the games draw from
// both sides, and sprites, get double-sided materials. Every primitive carries vertex colours
// (white for sprites), so that no importer splits a material between primitives with and without.
//
// The face builder hands over positions in level units (scale 1) with y negated, as the viewer
// has them. They leave in metres, y up and right-handed: the level's point (x, y, z), y pointing
// down, becomes kMetresPerLevelUnit * (x, -y, -z). That is a half turn about x, so the level is
// not mirrored; the viewer's negated y alone would mirror it in glTF's right-handed axes.
//
// Every node's vertices are in its own frame: a room's origin is its translation, so it can be
// moved or pivoted in Blender; placed objects and sprites are placed relative to their room.
// With mesh nodes, an item's meshes get a node each, joined as its mesh tree joins them, so that
// animations can turn them; a model is one item whose root mesh is the root node.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "export/GltfAxes.h"
#include "export/GltfDocument.h"
#include "export/GltfMaterials.h"
#include "export/LevelGltfExport.h"
#include "export/WeldedPrimitive.h"
#include "import/FaceSink.h"

namespace grottix {

class TTombRaiderLevel;

enum class TGltfItemNodes {
    Whole,    // a node per item holding all its faces
    PerMesh,  // a node per item, and under it a node per mesh
    Model,    // one item alone: its meshes are the whole tree, the root mesh the root node
};

class TGltfLevelBuilder : public TFaceSink {
public:
    // The nodes of an item with mesh nodes: its own, and one per mesh (its number in the moveable).
    struct TItemNodes {
        TPlacedObject object;
        int node = -1;
        std::vector<int> meshes;
        std::string name;  // its node's, which its meshes' names begin with
    };

    // name: the root node's.
    TGltfLevelBuilder(const TTombRaiderLevel& level, std::string name, TGltfSprites sprites,
                      TGltfItemNodes items = TGltfItemNodes::Whole);

    void AddQuadrangle(const TD3DGenericQuadrangleInfo& face, const TFaceTraits& traits) override;
    void AddTriangle(const TD3DGenericTriangleInfo& face, const TFaceTraits& traits) override;
    void AddSprite(const TD3DStubObjectInfo& sprite) override;
    void BeginRoom(size_t room) override;
    void EndRoom() override;
    void BeginObject(const TPlacedObject& object) override;
    void EndObject() override;
    void BeginMesh(const TPlacedMesh& mesh) override;
    void EndMesh() override;

    // The items as they came, with their mesh nodes when the builder makes them (node indices are
    // those of the document Finish writes).
    const std::vector<TItemNodes>& Items() const { return items_; }

    // The tiles (0-based) that faces and sprites use.
    std::set<int> UsedTiles() const;
    // Writes the nodes and meshes, asking materials for the materials they use.
    void Finish(TGltfDocument& document, TGltfMaterials& materials) const;
    // Triangles as drawn: a sprite's quads count at every node that shows them.
    size_t Triangles() const;
    // Triangles left out for having no area (a vertex repeated, or all three in a line).
    size_t LeftOut() const { return leftOut_; }

private:
    struct TSpriteQuad {
        TGltfMaterialKey material;
        std::array<float, 6> shape;  // u, v, width and height in the tile; half width and height in metres
        auto operator<=>(const TSpriteQuad&) const = default;
    };
    struct TNode {
        std::string name;
        int parent = -1;
        TMeshPlacement toLocal;  // level units to the node's own frame
        std::array<double, 3> translation{};
        std::optional<std::array<double, 4>> rotation;  // x, y, z, w
        std::map<TGltfMaterialKey, TWeldedPrimitive> primitives;
        int sprite = -1;
    };
    // Where the last static mesh was placed: a second definition of its object id places it again.
    struct TStaticPlace {
        int room, objectId;
        std::array<std::array<double, 4>, 3> placement;
        bool operator==(const TStaticPlace&) const = default;
    };

    // frame: from the node's own frame to the level's.
    int addNode(std::string name, int parent, const TMeshPlacement& frame);
    void place(TNode& node, const TMeshPlacement& frame) const;
    int tileOf(const std::string& name);
    TGltfMaterialKey material(const std::string& name, const TFaceTraits& traits);
    std::array<double, 3> inNode(const TNode& node, double x, double y, double z) const;
    TWeldedVertex vertex(const TD3DLVertex& v) const;
    // Adds the triangle, its corners in reverse order, unless it has no area.
    void addTriangle(TWeldedPrimitive& primitive, const TD3DLVertex& a, const TD3DLVertex& b, const TD3DLVertex& c);
    std::string objectName(const TPlacedObject& object);
    size_t spriteTriangles() const;
    // The node's JSON with its own faces' mesh, if any.
    TJson writeNode(TGltfDocument& document, TGltfMaterials& materials, const TNode& node) const;
    int writeSpriteMesh(TGltfDocument& document, TGltfMaterials& materials, const TSpriteQuad& quad) const;

    const TTombRaiderLevel& level_;
    TGltfSprites sprites_;
    TGltfItemNodes itemNodes_;
    std::vector<TItemNodes> items_;
    int object_ = -1;  // the node of the open object, -1 when none is
    std::vector<TNode> nodes_;
    std::vector<int> roomNodes_;
    int room_ = 0;         // the node of the room being read, or the root
    int current_ = 0;      // the node faces go to
    int roomIndex_ = -1;   // the room being read
    int spriteRoom_ = -1;  // the room the next sprite stands in
    std::map<int, int> spritesInRoom_;
    int statics_ = 0;
    std::optional<TStaticPlace> lastStatic_;
    size_t leftOut_ = 0;
    std::unordered_map<std::string, int> tiles_;
    std::vector<TSpriteQuad> spriteQuads_;
    std::map<TSpriteQuad, int> spriteIndex_;
};

}  // namespace grottix
