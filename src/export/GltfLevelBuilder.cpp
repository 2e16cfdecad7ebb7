#include "export/GltfLevelBuilder.h"

#include <algorithm>
#include <charconv>
#include <cmath>


#include "export/GltfAxes.h"
#include "export/GltfDocument.h"
#include "export/GltfMaterials.h"
#include "export/GltfNodeNames.h"
#include "level/LevelNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr uint16_t kSemiTransparent = 2;  // object texture attribute of faces the games blend

// A rigid placement's inverse: the transposed rotation, the translation turned back.
TMeshPlacement inverseOf(const TMeshPlacement& p) {
    TMeshPlacement out;
    for (size_t i = 0; i < 3; ++i) {
        for (size_t j = 0; j < 3; ++j) out.m[i][j] = p.m[j][i];
        out.m[i][3] = -(p.m[0][i] * p.m[0][3] + p.m[1][i] * p.m[1][3] + p.m[2][i] * p.m[2][3]);
    }
    return out;
}

// glTF's vertex colours are linear; the viewer multiplies texels by the colour as they are stored
// (sRGB), so the colour goes to linear for the product to look the same.
const std::array<float, 256>& linearChannels() {
    static const std::array<float, 256> table = [] {
        std::array<float, 256> out{};
        for (size_t i = 0; i < out.size(); ++i) {
            const double c = double(i) / 255;
            out[i] = float(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return out;
    }();
    return table;
}

// Twice the area under which a triangle counts as none, in square level units: the smallest
// triangle of whole level units has 1, so this catches only rounding left over from placing.
constexpr double kNoArea = 1e-3;

bool hasNoArea(const TD3DLVertex& a, const TD3DLVertex& b, const TD3DLVertex& c) {
    const double ab[3] = {double(b.x) - a.x, double(b.y) - a.y, double(b.z) - a.z};
    const double ac[3] = {double(c.x) - a.x, double(c.y) - a.y, double(c.z) - a.z};
    const double n[3] = {ab[1] * ac[2] - ab[2] * ac[1], ab[2] * ac[0] - ab[0] * ac[2], ab[0] * ac[1] - ab[1] * ac[0]};
    return n[0] * n[0] + n[1] * n[1] + n[2] * n[2] < kNoArea * kNoArea;
}

TJson jsonArray(const double* values, size_t count) {
    TJson out = TJson::array();
    for (size_t i = 0; i < count; ++i) out.push_back(values[i]);
    return out;
}

}  // namespace

TGltfLevelBuilder::TGltfLevelBuilder(const TTombRaiderLevel& level, std::string name, TGltfSprites sprites, TGltfItemNodes items)
    : level_(level), sprites_(sprites), itemNodes_(items), roomNodes_(level.Rooms.size(), -1) {
    addNode(std::move(name), -1, {});
}

int TGltfLevelBuilder::addNode(std::string name, int parent, const TMeshPlacement& frame) {
    TNode node;
    node.name = std::move(name);
    node.parent = parent;
    place(node, frame);
    nodes_.push_back(std::move(node));
    return int(nodes_.size() - 1);
}

void TGltfLevelBuilder::place(TNode& node, const TMeshPlacement& frame) const {
    node.toLocal = inverseOf(frame);
    const TMeshPlacement relative = node.parent < 0 ? frame : nodes_[size_t(node.parent)].toLocal * frame;
    node.translation = GltfVector(relative.m[0][3], relative.m[1][3], relative.m[2][3]);
    node.rotation.reset();
    if (relative.m[0][0] != 1 || relative.m[1][1] != 1 || relative.m[2][2] != 1) node.rotation = GltfRotation(relative);
}

void TGltfLevelBuilder::BeginRoom(size_t room) {
    TMeshPlacement origin;
    if (room < level_.Rooms.size()) origin = TMeshPlacement::Translation(level_.Rooms[room].x, 0, level_.Rooms[room].z);
    room_ = current_ = addNode("room " + std::to_string(room), 0, origin);
    if (room < roomNodes_.size()) roomNodes_[room] = room_;
    roomIndex_ = spriteRoom_ = int(room);
}

void TGltfLevelBuilder::EndRoom() {
    room_ = current_ = 0;
    roomIndex_ = spriteRoom_ = -1;
}

std::string TGltfLevelBuilder::objectName(const TPlacedObject& object) {
    if (object.kind == TPlacedObject::TKind::Item) return ItemNodeName(level_.VersionCode, object.type, object.number);
    const TStaticPlace place{object.room, object.number, object.placement.m};
    if (lastStatic_ && *lastStatic_ == place) return StaticNodeName(object.number, statics_ - 1);
    lastStatic_ = place;
    return StaticNodeName(object.number, statics_++);
}

void TGltfLevelBuilder::BeginObject(const TPlacedObject& object) {
    int parent = room_;
    if (object.room >= 0 && size_t(object.room) < roomNodes_.size() && roomNodes_[size_t(object.room)] >= 0) {
        parent = roomNodes_[size_t(object.room)];
        spriteRoom_ = object.room;
    }
    if (itemNodes_ == TGltfItemNodes::Model) {
        current_ = object_ = 0;
        items_.push_back({object, object_, {}, nodes_[0].name});
        return;
    }
    current_ = object_ = addNode(objectName(object), parent, object.placement);
    if (object.kind == TPlacedObject::TKind::Item) items_.push_back({object, object_, {}, nodes_[size_t(object_)].name});
}

void TGltfLevelBuilder::EndObject() {
    current_ = room_;
    object_ = -1;
    spriteRoom_ = roomIndex_;
}

void TGltfLevelBuilder::BeginMesh(const TPlacedMesh& mesh) {
    if (itemNodes_ == TGltfItemNodes::Whole || object_ < 0 || items_.empty() || items_.back().node != object_) return;
    std::vector<int>& meshes = items_.back().meshes;
    const std::string name = items_.back().name + " mesh " + std::to_string(mesh.index);
    if (itemNodes_ == TGltfItemNodes::Model && meshes.empty()) {
        // The root mesh is the model's root node.
        nodes_[0].name = name;
        place(nodes_[0], mesh.placement);
        current_ = 0;
    } else {
        const int parent = mesh.parent >= 0 && size_t(mesh.parent) < meshes.size() ? meshes[size_t(mesh.parent)] : object_;
        current_ = addNode(name, parent, mesh.placement);
    }
    meshes.push_back(current_);
}

void TGltfLevelBuilder::EndMesh() {
    if (object_ >= 0) current_ = object_;
}

// A level point (y down) in the node's frame, in glTF's axes and metres.
std::array<double, 3> TGltfLevelBuilder::inNode(const TNode& node, double x, double y, double z) const {
    const auto p = node.toLocal.Apply(x, y, z);
    return GltfVector(p[0], p[1], p[2]);
}

TWeldedVertex TGltfLevelBuilder::vertex(const TD3DLVertex& v) const {
    const auto p = inNode(nodes_[size_t(current_)], v.x, -double(v.y), v.z);
    return {{float(p[0]), float(p[1]), float(p[2])}, {v.tu, v.tv}, v.color & 0x00FFFFFF};
}

int TGltfLevelBuilder::tileOf(const std::string& name) {
    const auto known = tiles_.find(name);
    if (known != tiles_.end()) return known->second;
    std::string path, entry;
    int tile = -1;
    if (SplitLevelTextureName(name, path, entry) && path == level_.Path) {
        int number = 0;
        const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), number);
        if (error == std::errc() && end == entry.data() + entry.size() && number >= 1 && number <= level_.TileCount) tile = number - 1;
    }
    return tiles_[name] = tile;
}

TGltfMaterialKey TGltfLevelBuilder::material(const std::string& name, const TFaceTraits& traits) {
    const int tile = tileOf(name);
    const bool blended = tile >= 0 && traits.objectTexture < level_.ObjectTextures.size() &&
                         level_.ObjectTextures[traits.objectTexture].attribute == kSemiTransparent;
    return {tile, blended, traits.doubleSided};
}

void TGltfLevelBuilder::addTriangle(TWeldedPrimitive& primitive, const TD3DLVertex& a, const TD3DLVertex& b, const TD3DLVertex& c) {
    if (hasNoArea(a, b, c)) {
        ++leftOut_;
        return;
    }
    for (const TD3DLVertex* v : {&c, &b, &a}) primitive.Add(vertex(*v));
}

// Faces without a texture name are left out: the viewer hides them. A quadrangle is two
// triangles, either of which may have no area (a quadrangle repeating a corner is a triangle).
void TGltfLevelBuilder::AddQuadrangle(const TD3DGenericQuadrangleInfo& face, const TFaceTraits& traits) {
    if (face.TextureName.empty()) return;
    const TGltfMaterialKey key = material(face.TextureName, traits);
    TWeldedPrimitive& primitive = nodes_[size_t(current_)].primitives[key];
    const std::array<TD3DLVertex, 4>& v = face.Vertices;
    addTriangle(primitive, v[0], v[1], v[2]);
    addTriangle(primitive, v[1], v[3], v[2]);
}

void TGltfLevelBuilder::AddTriangle(const TD3DGenericTriangleInfo& face, const TFaceTraits& traits) {
    if (face.TextureName.empty()) return;
    const TGltfMaterialKey key = material(face.TextureName, traits);
    TWeldedPrimitive& primitive = nodes_[size_t(current_)].primitives[key];
    const std::array<TD3DLVertex, 3>& v = face.Vertices;
    addTriangle(primitive, v[0], v[1], v[2]);
}

size_t TGltfLevelBuilder::spriteTriangles() const { return sprites_ == TGltfSprites::Crossed ? 4 : 2; }

void TGltfLevelBuilder::AddSprite(const TD3DStubObjectInfo& sprite) {
    const std::string& name = sprite.TextureNames[0];
    if (name.empty()) return;
    const float halfWidth = float(sprite.Width / 2 * kMetresPerLevelUnit), halfHeight = float(sprite.Height / 2 * kMetresPerLevelUnit);
    if (halfWidth == 0 || halfHeight == 0) {
        leftOut_ += spriteTriangles();
        return;
    }
    // A sprite stands for a picture that turns to the eye: it shows from both sides.
    const TSpriteQuad quad{{tileOf(name), false, true},
                           {sprite.TexLeft, sprite.TexTop, sprite.TexWidth, sprite.TexHeight, halfWidth, halfHeight}};
    const auto [known, added] = spriteIndex_.try_emplace(quad, int(spriteQuads_.size()));
    if (added) spriteQuads_.push_back(quad);
    const int node = addNode(SpriteNodeName(spritesInRoom_[spriteRoom_]++, spriteRoom_), current_,
                             TMeshPlacement::Translation(sprite.X, -double(sprite.Y), sprite.Z));
    nodes_[size_t(node)].sprite = known->second;
}

std::set<int> TGltfLevelBuilder::UsedTiles() const {
    std::set<int> tiles;
    for (const TNode& node : nodes_)
        for (const auto& [key, primitive] : node.primitives)
            if (key.tile >= 0 && !primitive.Indices().empty()) tiles.insert(key.tile);
    for (const TSpriteQuad& quad : spriteQuads_)
        if (quad.material.tile >= 0) tiles.insert(quad.material.tile);
    return tiles;
}

size_t TGltfLevelBuilder::Triangles() const {
    size_t triangles = 0;
    for (const TNode& node : nodes_) {
        for (const auto& [key, primitive] : node.primitives) triangles += primitive.Indices().size() / 3;
        if (node.sprite >= 0) triangles += spriteTriangles();
    }
    return triangles;
}

void TGltfLevelBuilder::Finish(TGltfDocument& document, TGltfMaterials& materials) const {
    size_t bytes = materials.EncodedBytes() + spriteQuads_.size() * 288;
    for (const TNode& node : nodes_)
        for (const auto& [key, primitive] : node.primitives) bytes += primitive.Vertices().size() * 32 + primitive.Indices().size() * 4 + 16;
    document.ReserveBinary(bytes);
    std::vector<TJson> children(nodes_.size(), TJson::array());
    for (size_t i = 1; i < nodes_.size(); ++i) children[size_t(nodes_[i].parent)].push_back(i);
    std::vector<int> spriteMeshes(spriteQuads_.size(), -1);
    for (size_t i = 0; i < nodes_.size(); ++i) {
        const int sprite = nodes_[i].sprite;
        if (sprite >= 0 && spriteMeshes[size_t(sprite)] < 0)
            spriteMeshes[size_t(sprite)] = writeSpriteMesh(document, materials, spriteQuads_[size_t(sprite)]);
        TJson node = writeNode(document, materials, nodes_[i]);
        if (sprite >= 0) node["mesh"] = spriteMeshes[size_t(sprite)];
        if (!children[i].empty()) node["children"] = std::move(children[i]);
        document.Nodes.push_back(std::move(node));
    }
    document.SceneNodes.push_back(0);
}

TJson TGltfLevelBuilder::writeNode(TGltfDocument& document, TGltfMaterials& materials, const TNode& node) const {
    TJson out{{"name", node.name}};
    if (node.translation != std::array<double, 3>{}) out["translation"] = jsonArray(node.translation.data(), 3);
    if (node.rotation) out["rotation"] = jsonArray(node.rotation->data(), 4);

    TJson primitives = TJson::array();
    const auto& linear = linearChannels();
    for (const auto& [key, primitive] : node.primitives) {
        if (primitive.Indices().empty()) continue;  // every triangle had no area
        const int material = materials.Material(document, key);
        std::vector<float> positions, uvs, colours;
        positions.reserve(primitive.Vertices().size() * 3);
        colours.reserve(primitive.Vertices().size() * 3);
        for (const TWeldedVertex& v : primitive.Vertices()) {
            positions.insert(positions.end(), v.position.begin(), v.position.end());
            uvs.insert(uvs.end(), v.uv.begin(), v.uv.end());
            for (int shift : {16, 8, 0}) colours.push_back(linear[(v.colour >> shift) & 0xFF]);
        }
        TJson attributes{{"POSITION", document.AddFloats(positions, 3)}, {"COLOR_0", document.AddFloats(colours, 3)}};
        if (materials.HasTexture(key.tile)) attributes["TEXCOORD_0"] = document.AddFloats(uvs, 2);
        primitives.push_back({{"attributes", std::move(attributes)}, {"indices", document.AddIndices(primitive.Indices())}, {"material", material}});
    }
    if (!primitives.empty()) {
        document.Meshes.push_back({{"name", node.name}, {"primitives", std::move(primitives)}});
        out["mesh"] = document.Meshes.size() - 1;
    }
    return out;
}

// A sprite's quad in its node's x-y plane, facing +Z, centred on the node; the top edge shows
// the top of the picture. Crossed, a second quad stands in the y-z plane facing +X, so that the
// sprite shows from every side. Its vertex colours are white, the colour the viewer gives sprites.
int TGltfLevelBuilder::writeSpriteMesh(TGltfDocument& document, TGltfMaterials& materials, const TSpriteQuad& quad) const {
    const auto [u, v, du, dv, w, h] = quad.shape;
    std::vector<float> positions = {-w, h, 0, w, h, 0, -w, -h, 0, w, -h, 0};
    const std::vector<float> quadUvs = {u, v, u + du, v, u, v + dv, u + du, v + dv};
    std::vector<float> uvs = quadUvs;
    std::vector<uint32_t> indices = {0, 2, 1, 1, 2, 3};
    if (sprites_ == TGltfSprites::Crossed) {
        positions.insert(positions.end(), {0, h, w, 0, h, -w, 0, -h, w, 0, -h, -w});
        uvs.insert(uvs.end(), quadUvs.begin(), quadUvs.end());
        indices.insert(indices.end(), {4, 6, 5, 5, 6, 7});
    }
    TJson attributes{{"POSITION", document.AddFloats(positions, 3)},
                     {"COLOR_0", document.AddFloats(std::vector<float>(positions.size(), 1.0f), 3)}};
    if (materials.HasTexture(quad.material.tile)) attributes["TEXCOORD_0"] = document.AddFloats(uvs, 2);
    TJson primitive{{"attributes", std::move(attributes)},
                     {"indices", document.AddIndices(indices)},
                     {"material", materials.Material(document, quad.material)}};
    const std::string name = quad.material.tile >= 0 ? "sprite (tile " + std::to_string(quad.material.tile + 1) + ")" : "sprite";
    document.Meshes.push_back({{"name", name}, {"primitives", TJson::array({std::move(primitive)})}});
    return int(document.Meshes.size() - 1);
}

}  // namespace grottix
