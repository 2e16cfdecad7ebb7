#pragma once
// Gathers a converted level for glTF: one node per room holding its faces, static meshes and items
// as child nodes with their own transforms, sprites as quads facing +Z of nodes of their own (a
// sprite picture shared by several sprites is one mesh). Vertices are welded per node and material.
//
// The face builder hands over positions in level units (scale 1) with y negated, as the viewer
// has them. They leave in metres, y up and right-handed: the level's point (x, y, z), y pointing
// down, becomes kMetresPerLevelUnit * (x, -y, -z). That is a half turn about x, so the level is
// not mirrored; the viewer's negated y alone would mirror it in glTF's right-handed axes.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include <QJsonObject>

#include "import/FaceSink.h"

namespace grottix {

class TGltfDocument;
class TGltfMaterials;
class TTombRaiderLevel;

// A floor sector, 1024 level units, is 2.4 m: the player's 762 units come out at 1.79 m.
constexpr double kMetresPerLevelUnit = 2.4 / 1024;

class TGltfLevelBuilder : public TFaceSink {
public:
    // name: the root node's.
    TGltfLevelBuilder(const TTombRaiderLevel& level, std::string name);

    void AddQuadrangle(const TD3DGenericQuadrangleInfo& face, const TFaceTraits& traits) override;
    void AddTriangle(const TD3DGenericTriangleInfo& face, const TFaceTraits& traits) override;
    void AddSprite(const TD3DStubObjectInfo& sprite) override;
    void BeginRoom(size_t room) override;
    void EndRoom() override;
    void BeginObject(const TPlacedObject& object) override;
    void EndObject() override;

    // The tiles (0-based) that faces and sprites use.
    std::set<int> UsedTiles() const;
    // Writes the nodes and meshes, asking materials for the materials they use.
    void Finish(TGltfDocument& document, TGltfMaterials& materials) const;
    // Triangles as drawn: a sprite's quad counts at every node that shows it.
    size_t Triangles() const;

private:
    using TMaterialKey = std::pair<int, bool>;  // tile (-1: none), blended

    struct TVertex {
        std::array<float, 3> position;
        std::array<float, 2> uv;
        uint32_t colour;  // 0x00RRGGBB
        bool operator==(const TVertex&) const = default;
    };
    // One material's faces in one node; a vertex met again is welded to its first index.
    struct TPrimitive {
        std::vector<TVertex> vertices;
        std::vector<uint32_t> indices;
        std::vector<uint32_t> buckets;  // open addressing by the vertex's hash: index + 1, 0 when free
        void add(const TVertex& v);
        void place(uint32_t index);
    };
    struct TSpriteQuad {
        TMaterialKey material;
        std::array<float, 6> shape;  // u, v, width and height in the tile; half width and height in metres
        auto operator<=>(const TSpriteQuad&) const = default;
    };
    struct TNode {
        std::string name;
        int parent = -1;
        std::optional<TMeshPlacement> toLocal;  // level units to the node's own frame (placed objects)
        std::array<double, 3> translation{};
        std::optional<std::array<double, 4>> rotation;  // x, y, z, w
        std::map<TMaterialKey, TPrimitive> primitives;
        int sprite = -1;
    };

    int addNode(std::string name, int parent);
    int tileOf(const std::string& name);
    TMaterialKey material(const std::string& name, const TFaceTraits& traits);
    std::array<double, 3> inNode(const TNode& node, double x, double y, double z) const;
    TVertex vertex(const TD3DLVertex& v) const;
    // The node's JSON with its own faces' mesh, if any.
    QJsonObject writeNode(TGltfDocument& document, TGltfMaterials& materials, const TNode& node) const;
    int writeSpriteMesh(TGltfDocument& document, TGltfMaterials& materials, const TSpriteQuad& quad) const;

    const TTombRaiderLevel& level_;
    std::vector<TNode> nodes_;
    std::vector<int> roomNodes_;
    int room_ = 0;     // the node of the room being read, or the root
    int current_ = 0;  // the node faces go to
    std::unordered_map<std::string, int> tiles_;
    std::vector<TSpriteQuad> spriteQuads_;
    std::map<TSpriteQuad, int> spriteIndex_;
};

}  // namespace grottix
