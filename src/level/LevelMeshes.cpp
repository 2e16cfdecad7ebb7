#include "level/LevelMeshes.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

// Reads little-endian values from the mesh data; a read past the end gives zeros and marks the end.
class MeshCursor {
public:
    explicit MeshCursor(const std::vector<uint16_t>& words)
        : data_(reinterpret_cast<const uint8_t*>(words.data())), size_(words.size() * 2) {}

    size_t position() const { return pos_; }
    bool atEnd() const { return pos_ >= size_; }
    int16_t i16() { return take<int16_t>(); }
    int32_t i32() { return take<int32_t>(); }
    uint16_t u16() { return take<uint16_t>(); }
    void skip(size_t bytes) { pos_ = bytes > size_ - std::min(pos_, size_) ? size_ : pos_ + bytes; }
    // How many records of a size a count may really hold here.
    size_t fit(int count, size_t recordSize) const {
        return std::min<size_t>(size_t(std::max(count, 0)), (size_ - std::min(pos_, size_)) / recordSize);
    }

private:
    template <typename T>
    T take() {
        T value{};
        if (pos_ + sizeof(T) <= size_) std::memcpy(&value, data_ + pos_, sizeof(T));
        pos_ = std::min(pos_ + sizeof(T), size_);
        return value;
    }
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

std::vector<TLevelMeshFace> readFaces(MeshCursor& in, int corners, size_t recordSize) {
    const int count = in.i16();
    std::vector<TLevelMeshFace> faces(in.fit(count, recordSize));
    for (auto& face : faces) {
        const size_t start = in.position();
        for (int c = 0; c < corners; ++c) face.vertices[size_t(c)] = in.u16();
        face.texture = in.u16();
        in.skip(recordSize - (in.position() - start));
    }
    if (size_t(std::max(count, 0)) > faces.size()) in.skip(SIZE_MAX);  // the mesh runs past the data
    return faces;
}

TLevelMesh readMesh(MeshCursor& in, int code) {
    TLevelMesh mesh;
    mesh.offset = uint32_t(in.position());
    for (auto& c : mesh.centre) c = in.i16();
    mesh.radius = in.i32();
    const int vertexCount = in.i16();
    mesh.vertices.resize(in.fit(vertexCount, 6));
    for (auto& v : mesh.vertices) v = {in.i16(), in.i16(), in.i16()};
    if (size_t(std::max(vertexCount, 0)) > mesh.vertices.size()) in.skip(SIZE_MAX);
    const int normals = in.i16();
    in.skip(normals > 0 ? size_t(normals) * 6 : size_t(-normals) * 2);
    const bool wide = code >= 6;
    mesh.texturedRectangles = readFaces(in, 4, wide ? 12 : 10);
    mesh.texturedTriangles = readFaces(in, 3, wide ? 10 : 8);
    if (code <= 5) {
        mesh.colouredRectangles = readFaces(in, 4, 10);
        mesh.colouredTriangles = readFaces(in, 3, 8);
    }
    if ((in.position() - mesh.offset) % 4 != 0) in.skip(2);
    return mesh;
}

}  // namespace

TLevelMeshList ParseLevelMeshes(const TTombRaiderLevel& level) {
    TLevelMeshList list;
    MeshCursor in(level.MeshData);
    while (!in.atEnd()) list.meshes.push_back(readMesh(in, level.VersionCode));
    std::unordered_map<uint32_t, uint32_t> indexAt;
    for (uint32_t i = 0; i < list.meshes.size(); ++i) indexAt.try_emplace(list.meshes[i].offset, i);
    list.pointerMap.reserve(level.MeshPointers.size());
    for (uint32_t pointer : level.MeshPointers) {
        const auto found = indexAt.find(pointer);
        list.pointerMap.push_back(found == indexAt.end() ? 0 : found->second);
    }
    return list;
}

}  // namespace grottix
