#include "app/export/GltfLevelBuilder.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>

#include <QJsonArray>
#include <QJsonObject>

#include "app/export/GltfDocument.h"
#include "app/export/GltfMaterials.h"
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

// The rotation of a placement in glTF's axes (y and z turned round: S R S with S = diag(1, -1, -1))
// as a unit quaternion x, y, z, w.
std::array<double, 4> quaternionOf(const TMeshPlacement& p) {
    const double s[3] = {1, -1, -1};
    double m[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m[i][j] = s[i] * p.m[size_t(i)][size_t(j)] * s[j];
    std::array<double, 4> q;
    const double trace = m[0][0] + m[1][1] + m[2][2];
    if (trace > 0) {
        const double r = std::sqrt(trace + 1) * 2;
        q = {(m[2][1] - m[1][2]) / r, (m[0][2] - m[2][0]) / r, (m[1][0] - m[0][1]) / r, r / 4};
    } else if (m[0][0] > m[1][1] && m[0][0] > m[2][2]) {
        const double r = std::sqrt(1 + m[0][0] - m[1][1] - m[2][2]) * 2;
        q = {r / 4, (m[0][1] + m[1][0]) / r, (m[0][2] + m[2][0]) / r, (m[2][1] - m[1][2]) / r};
    } else if (m[1][1] > m[2][2]) {
        const double r = std::sqrt(1 + m[1][1] - m[0][0] - m[2][2]) * 2;
        q = {(m[0][1] + m[1][0]) / r, r / 4, (m[1][2] + m[2][1]) / r, (m[0][2] - m[2][0]) / r};
    } else {
        const double r = std::sqrt(1 + m[2][2] - m[0][0] - m[1][1]) * 2;
        q = {(m[0][2] + m[2][0]) / r, (m[1][2] + m[2][1]) / r, r / 4, (m[1][0] - m[0][1]) / r};
    }
    const double length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    for (double& c : q) c /= length;
    return q;
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

QJsonArray jsonArray(const double* values, size_t count) {
    QJsonArray out;
    for (size_t i = 0; i < count; ++i) out.append(values[i]);
    return out;
}

}  // namespace

namespace {

size_t hashOf(const std::array<float, 3>& position, const std::array<float, 2>& uv, uint32_t colour) {
    uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](uint32_t word) { h = (h ^ word) * 1099511628211ull; };
    for (float c : position) mix(std::bit_cast<uint32_t>(c));
    for (float c : uv) mix(std::bit_cast<uint32_t>(c));
    mix(colour);
    return size_t(h ^ (h >> 29));
}

}  // namespace

void TGltfLevelBuilder::TPrimitive::place(uint32_t index) {
    const TVertex& v = vertices[index];
    const size_t mask = buckets.size() - 1;
    size_t slot = hashOf(v.position, v.uv, v.colour) & mask;
    while (buckets[slot] != 0) slot = (slot + 1) & mask;
    buckets[slot] = index + 1;
}

void TGltfLevelBuilder::TPrimitive::add(const TVertex& v) {
    if (2 * vertices.size() >= buckets.size()) {  // at most half full
        buckets.assign(std::max<size_t>(64, 2 * buckets.size()), 0);
        for (uint32_t i = 0; i < vertices.size(); ++i) place(i);
    }
    const size_t mask = buckets.size() - 1;
    for (size_t slot = hashOf(v.position, v.uv, v.colour) & mask;; slot = (slot + 1) & mask) {
        if (buckets[slot] == 0) {
            vertices.push_back(v);
            buckets[slot] = uint32_t(vertices.size());
            indices.push_back(uint32_t(vertices.size() - 1));
            return;
        }
        if (vertices[buckets[slot] - 1] == v) {
            indices.push_back(buckets[slot] - 1);
            return;
        }
    }
}

TGltfLevelBuilder::TGltfLevelBuilder(const TTombRaiderLevel& level, std::string name)
    : level_(level), roomNodes_(level.Rooms.size(), -1) {
    addNode(std::move(name), -1);
}

int TGltfLevelBuilder::addNode(std::string name, int parent) {
    nodes_.push_back({});
    nodes_.back().name = std::move(name);
    nodes_.back().parent = parent;
    return int(nodes_.size() - 1);
}

void TGltfLevelBuilder::BeginRoom(size_t room) {
    room_ = current_ = addNode("room " + std::to_string(room), 0);
    if (room < roomNodes_.size()) roomNodes_[room] = room_;
}

void TGltfLevelBuilder::EndRoom() { room_ = current_ = 0; }

void TGltfLevelBuilder::BeginObject(const TPlacedObject& object) {
    int parent = room_;
    if (object.room >= 0 && size_t(object.room) < roomNodes_.size() && roomNodes_[size_t(object.room)] >= 0)
        parent = roomNodes_[size_t(object.room)];
    const bool item = object.kind == TPlacedObject::TKind::Item;
    std::string name = item ? "item " + std::to_string(object.number) + " (type " + std::to_string(object.type) + ")"
                            : "static mesh " + std::to_string(object.number);
    current_ = addNode(std::move(name), parent);
    TNode& node = nodes_[size_t(current_)];
    const TMeshPlacement& p = object.placement;
    node.toLocal = inverseOf(p);
    node.translation = {p.m[0][3] * kMetresPerLevelUnit, -p.m[1][3] * kMetresPerLevelUnit, -p.m[2][3] * kMetresPerLevelUnit};
    if (p.m[0][0] != 1 || p.m[1][1] != 1 || p.m[2][2] != 1) node.rotation = quaternionOf(p);
}

void TGltfLevelBuilder::EndObject() { current_ = room_; }

// A level point (y down) in the node's frame, in glTF's axes and metres.
std::array<double, 3> TGltfLevelBuilder::inNode(const TNode& node, double x, double y, double z) const {
    std::array<double, 3> p{x, y, z};
    if (node.toLocal) p = node.toLocal->Apply(x, y, z);
    return {p[0] * kMetresPerLevelUnit, -p[1] * kMetresPerLevelUnit, -p[2] * kMetresPerLevelUnit};
}

TGltfLevelBuilder::TVertex TGltfLevelBuilder::vertex(const TD3DLVertex& v) const {
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

TGltfLevelBuilder::TMaterialKey TGltfLevelBuilder::material(const std::string& name, const TFaceTraits& traits) {
    const int tile = tileOf(name);
    const bool blended = tile >= 0 && traits.objectTexture < level_.ObjectTextures.size() &&
                         level_.ObjectTextures[traits.objectTexture].attribute == kSemiTransparent;
    return {tile, blended};
}

// Faces without a texture name are left out: the viewer hides them.
void TGltfLevelBuilder::AddQuadrangle(const TD3DGenericQuadrangleInfo& face, const TFaceTraits& traits) {
    if (face.TextureName.empty()) return;
    TPrimitive& primitive = nodes_[size_t(current_)].primitives[material(face.TextureName, traits)];
    for (size_t corner : {0, 1, 2, 1, 3, 2}) primitive.add(vertex(face.Vertices[corner]));
}

void TGltfLevelBuilder::AddTriangle(const TD3DGenericTriangleInfo& face, const TFaceTraits& traits) {
    if (face.TextureName.empty()) return;
    TPrimitive& primitive = nodes_[size_t(current_)].primitives[material(face.TextureName, traits)];
    for (const TD3DLVertex& v : face.Vertices) primitive.add(vertex(v));
}

void TGltfLevelBuilder::AddSprite(const TD3DStubObjectInfo& sprite) {
    const std::string& name = sprite.TextureNames[0];
    if (name.empty()) return;
    const float halfWidth = float(sprite.Width / 2 * kMetresPerLevelUnit), halfHeight = float(sprite.Height / 2 * kMetresPerLevelUnit);
    const TSpriteQuad quad{{tileOf(name), false},
                           {sprite.TexLeft, sprite.TexTop, sprite.TexWidth, sprite.TexHeight, halfWidth, halfHeight}};
    const auto [known, added] = spriteIndex_.try_emplace(quad, int(spriteQuads_.size()));
    if (added) spriteQuads_.push_back(quad);
    const auto centre = inNode(nodes_[size_t(current_)], sprite.X, -double(sprite.Y), sprite.Z);
    const int node = addNode("sprite", current_);
    nodes_[size_t(node)].translation = centre;
    nodes_[size_t(node)].sprite = known->second;
}

std::set<int> TGltfLevelBuilder::UsedTiles() const {
    std::set<int> tiles;
    for (const TNode& node : nodes_)
        for (const auto& [key, primitive] : node.primitives)
            if (key.first >= 0) tiles.insert(key.first);
    for (const TSpriteQuad& quad : spriteQuads_)
        if (quad.material.first >= 0) tiles.insert(quad.material.first);
    return tiles;
}

size_t TGltfLevelBuilder::Triangles() const {
    size_t triangles = 0;
    for (const TNode& node : nodes_) {
        for (const auto& [key, primitive] : node.primitives) triangles += primitive.indices.size() / 3;
        if (node.sprite >= 0) triangles += 2;
    }
    return triangles;
}

void TGltfLevelBuilder::Finish(TGltfDocument& document, TGltfMaterials& materials) const {
    size_t bytes = materials.EncodedBytes() + spriteQuads_.size() * 96;
    for (const TNode& node : nodes_)
        for (const auto& [key, primitive] : node.primitives) bytes += primitive.vertices.size() * 32 + primitive.indices.size() * 4 + 16;
    document.ReserveBinary(bytes);
    std::vector<QJsonArray> children(nodes_.size());
    for (size_t i = 1; i < nodes_.size(); ++i) children[size_t(nodes_[i].parent)].append(qint64(i));
    std::vector<int> spriteMeshes(spriteQuads_.size(), -1);
    for (size_t i = 0; i < nodes_.size(); ++i) {
        const int sprite = nodes_[i].sprite;
        if (sprite >= 0 && spriteMeshes[size_t(sprite)] < 0)
            spriteMeshes[size_t(sprite)] = writeSpriteMesh(document, materials, spriteQuads_[size_t(sprite)]);
        QJsonObject node = writeNode(document, materials, nodes_[i]);
        if (sprite >= 0) node["mesh"] = spriteMeshes[size_t(sprite)];
        if (!children[i].isEmpty()) node["children"] = children[i];
        document.Nodes.append(node);
    }
    document.SceneNodes.append(0);
}

QJsonObject TGltfLevelBuilder::writeNode(TGltfDocument& document, TGltfMaterials& materials, const TNode& node) const {
    QJsonObject out{{"name", QString::fromStdString(node.name)}};
    if (node.translation != std::array<double, 3>{}) out["translation"] = jsonArray(node.translation.data(), 3);
    if (node.rotation) out["rotation"] = jsonArray(node.rotation->data(), 4);

    QJsonArray primitives;
    const auto& linear = linearChannels();
    for (const auto& [key, primitive] : node.primitives) {
        const int material = materials.Material(document, key.first, key.second);
        std::vector<float> positions, uvs, colours;
        positions.reserve(primitive.vertices.size() * 3);
        colours.reserve(primitive.vertices.size() * 3);
        for (const TVertex& v : primitive.vertices) {
            positions.insert(positions.end(), v.position.begin(), v.position.end());
            uvs.insert(uvs.end(), v.uv.begin(), v.uv.end());
            for (int shift : {16, 8, 0}) colours.push_back(linear[(v.colour >> shift) & 0xFF]);
        }
        QJsonObject attributes{{"POSITION", document.AddFloats(positions, 3)}, {"COLOR_0", document.AddFloats(colours, 3)}};
        if (materials.HasTexture(key.first)) attributes["TEXCOORD_0"] = document.AddFloats(uvs, 2);
        primitives.append(QJsonObject{{"attributes", attributes}, {"indices", document.AddIndices(primitive.indices)}, {"material", material}});
    }
    if (!primitives.isEmpty()) {
        document.Meshes.append(QJsonObject{{"name", QString::fromStdString(node.name)}, {"primitives", primitives}});
        out["mesh"] = qint64(document.Meshes.size() - 1);
    }
    return out;
}

// A sprite's quad in its node's x-y plane, facing +Z, centred on the node; the top edge shows
// the top of the picture.
int TGltfLevelBuilder::writeSpriteMesh(TGltfDocument& document, TGltfMaterials& materials, const TSpriteQuad& quad) const {
    const auto [u, v, du, dv, w, h] = quad.shape;
    const std::vector<float> positions = {-w, h, 0, w, h, 0, -w, -h, 0, w, -h, 0};
    const std::vector<float> uvs = {u, v, u + du, v, u, v + dv, u + du, v + dv};
    QJsonObject attributes{{"POSITION", document.AddFloats(positions, 3)}};
    if (materials.HasTexture(quad.material.first)) attributes["TEXCOORD_0"] = document.AddFloats(uvs, 2);
    const QJsonObject primitive{{"attributes", attributes},
                                {"indices", document.AddIndices({0, 2, 1, 1, 2, 3})},
                                {"material", materials.Material(document, quad.material.first, quad.material.second)}};
    document.Meshes.append(QJsonObject{{"name", "sprite"}, {"primitives", QJsonArray{primitive}}});
    return int(document.Meshes.size() - 1);
}

}  // namespace grottix
