#include "export/WeldedPrimitive.h"

#include <algorithm>
#include <bit>

namespace grottix {

namespace {

size_t hashOf(const TWeldedVertex& v) {
    uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](uint32_t word) { h = (h ^ word) * 1099511628211ull; };
    for (float c : v.position) mix(std::bit_cast<uint32_t>(c));
    for (float c : v.uv) mix(std::bit_cast<uint32_t>(c));
    mix(v.colour);
    return size_t(h ^ (h >> 29));
}

}  // namespace

void TWeldedPrimitive::place(uint32_t index) {
    const size_t mask = buckets_.size() - 1;
    size_t slot = hashOf(vertices_[index]) & mask;
    while (buckets_[slot] != 0) slot = (slot + 1) & mask;
    buckets_[slot] = index + 1;
}

void TWeldedPrimitive::Add(const TWeldedVertex& v) {
    if (2 * vertices_.size() >= buckets_.size()) {  // at most half full
        buckets_.assign(std::max<size_t>(64, 2 * buckets_.size()), 0);
        for (uint32_t i = 0; i < vertices_.size(); ++i) place(i);
    }
    const size_t mask = buckets_.size() - 1;
    for (size_t slot = hashOf(v) & mask;; slot = (slot + 1) & mask) {
        if (buckets_[slot] == 0) {
            vertices_.push_back(v);
            buckets_[slot] = uint32_t(vertices_.size());
            indices_.push_back(uint32_t(vertices_.size() - 1));
            return;
        }
        if (vertices_[buckets_[slot] - 1] == v) {
            indices_.push_back(buckets_[slot] - 1);
            return;
        }
    }
}

}  // namespace grottix
