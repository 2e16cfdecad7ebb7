// Where the faces of one cell lie in or on the boxes of the others.

#include <algorithm>

#include "engine/CellVisibility.h"

namespace grottix {

namespace {

// Boxes are widened by this much (scene units) so that faces lying on a box's side, or a rounding
// error off it, count as touching it.
constexpr float kTouch = 0.01f;

float axis(TD3DVector v, int a) { return a == 0 ? v.x : a == 1 ? v.y : v.z; }

struct TBox {
    TD3DVector min{1e30f, 1e30f, 1e30f}, max{-1e30f, -1e30f, -1e30f};
    bool Empty() const { return !(min.x <= max.x && min.y <= max.y && min.z <= max.z); }
    void Add(TD3DVector p) {
        min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
        max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
    }
    bool Meets(const TBox& b) const {
        return min.x <= b.max.x && b.min.x <= max.x && min.y <= b.max.y && b.min.y <= max.y && min.z <= b.max.z &&
               b.min.z <= max.z;
    }
};

TBox widened(const TCell& cell) {
    return {{cell.Min.x - kTouch, cell.Min.y - kTouch, cell.Min.z - kTouch},
            {cell.Max.x + kTouch, cell.Max.y + kTouch, cell.Max.z + kTouch}};
}

// The part of a convex outline on the inner side of a plane of constant coordinate.
std::vector<TD3DVector> cutAt(const std::vector<TD3DVector>& outline, int a, float limit, bool keepBelow) {
    std::vector<TD3DVector> out;
    const auto inside = [&](TD3DVector p) { return keepBelow ? axis(p, a) <= limit : axis(p, a) >= limit; };
    for (size_t i = 0; i < outline.size(); ++i) {
        const TD3DVector p = outline[i], q = outline[(i + 1) % outline.size()];
        if (inside(p)) out.push_back(p);
        if (inside(p) != inside(q)) {
            const float t = (limit - axis(p, a)) / (axis(q, a) - axis(p, a));
            out.push_back(p + (q - p) * t);
        }
    }
    return out;
}

// The bounds of the part of a triangle inside a box (empty when it misses the box).
TBox clipped(const TD3DVector* triangle, const TBox& box) {
    TBox bounds;
    for (int i = 0; i < 3; ++i) bounds.Add(triangle[i]);
    if (!bounds.Meets(box)) return {};
    std::vector<TD3DVector> outline(triangle, triangle + 3);
    for (int a = 0; a < 3 && !outline.empty(); ++a) {
        outline = cutAt(outline, a, axis(box.min, a), false);
        if (!outline.empty()) outline = cutAt(outline, a, axis(box.max, a), true);
    }
    bounds = {};
    for (const TD3DVector& p : outline) bounds.Add(p);
    return bounds;
}

void addContact(TCell& cell, int32_t other, const TBox& region) {
    for (TCellContact& contact : cell.Contacts)
        if (contact.Other == other) {
            contact.Min = {std::min(contact.Min.x, region.min.x), std::min(contact.Min.y, region.min.y), std::min(contact.Min.z, region.min.z)};
            contact.Max = {std::max(contact.Max.x, region.max.x), std::max(contact.Max.y, region.max.y), std::max(contact.Max.z, region.max.z)};
            return;
        }
    cell.Contacts.push_back({other, region.min, region.max});
}

}  // namespace

void TCellVisibility::AddFaces(int32_t cell, const std::vector<TD3DVector>& triangles) {
    if (cell < 0 || size_t(cell) >= Cells.size() || triangles.size() < 3) return;
    TBox all;
    for (const TD3DVector& p : triangles) all.Add(p);
    for (size_t other = 0; other < Cells.size(); ++other) {
        const TBox box = widened(Cells[other]);
        if (int32_t(other) == cell || !box.Meets(all)) continue;
        for (size_t i = 0; i + 3 <= triangles.size(); i += 3) {
            const TBox part = clipped(&triangles[i], box);
            if (!part.Empty()) addContact(Cells[other], cell, part);
        }
    }
}

void TCellVisibility::AddBox(int32_t cell, TD3DVector min, TD3DVector max) {
    if (cell < 0 || size_t(cell) >= Cells.size()) return;
    const TBox filled{min, max};
    for (size_t other = 0; other < Cells.size(); ++other) {
        const TBox box = widened(Cells[other]);
        if (int32_t(other) == cell || !box.Meets(filled)) continue;
        addContact(Cells[other], cell,
                   {{std::max(min.x, box.min.x), std::max(min.y, box.min.y), std::max(min.z, box.min.z)},
                    {std::min(max.x, box.max.x), std::min(max.y, box.max.y), std::min(max.z, box.max.z)}});
    }
}

}  // namespace grottix
