#pragma once
// One material's triangles in one glTF node, with every vertex met again welded to the index it
// got the first time (an open-addressing table keyed by the vertex's bits).

#include <array>
#include <cstdint>
#include <vector>

namespace grottix {

struct TWeldedVertex {
    std::array<float, 3> position;
    std::array<float, 2> uv;
    uint32_t colour;  // 0x00RRGGBB
    bool operator==(const TWeldedVertex&) const = default;
};

class TWeldedPrimitive {
public:
    // Appends the vertex's index to the triangle list, adding the vertex if it is new.
    void Add(const TWeldedVertex& v);

    const std::vector<TWeldedVertex>& Vertices() const { return vertices_; }
    const std::vector<uint32_t>& Indices() const { return indices_; }

private:
    void place(uint32_t index);

    std::vector<TWeldedVertex> vertices_;
    std::vector<uint32_t> indices_;
    std::vector<uint32_t> buckets_;  // by the vertex's hash: its index + 1, 0 when free
};

}  // namespace grottix
