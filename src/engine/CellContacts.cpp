// Where the faces of one cell lie in or on the boxes of the others.

#include <algorithm>
#include <array>

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

// A triangle cut by up to six planes has at most nine corners.
struct TOutline {
    std::array<TD3DVector, 10> corners;
    size_t count = 0;
};

// The part of a convex outline on the inner side of a plane of constant coordinate.
TOutline cutAt(const TOutline& outline, int a, float limit, bool keepBelow) {
    TOutline out;
    const auto inside = [&](TD3DVector p) { return keepBelow ? axis(p, a) <= limit : axis(p, a) >= limit; };
    for (size_t i = 0; i < outline.count; ++i) {
        const TD3DVector p = outline.corners[i], q = outline.corners[(i + 1) % outline.count];
        if (inside(p) && out.count < out.corners.size()) out.corners[out.count++] = p;
        if (inside(p) != inside(q) && out.count < out.corners.size()) {
            const float t = (limit - axis(p, a)) / (axis(q, a) - axis(p, a));
            out.corners[out.count++] = p + (q - p) * t;
        }
    }
    return out;
}

// The bounds of the part of a triangle inside a box (empty when it misses the box).
TBox clipped(const TD3DVector* triangle, const TBox& box) {
    TBox reach;
    for (int i = 0; i < 3; ++i) reach.Add(triangle[i]);
    if (!reach.Meets(box)) return {};
    TOutline outline;
    outline.corners = {triangle[0], triangle[1], triangle[2]};
    outline.count = 3;
    for (int a = 0; a < 3 && outline.count > 0; ++a) {
        outline = cutAt(outline, a, axis(box.min, a), false);
        if (outline.count > 0) outline = cutAt(outline, a, axis(box.max, a), true);
    }
    TBox bounds;
    for (size_t i = 0; i < outline.count; ++i) bounds.Add(outline.corners[i]);
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

void TCellVisibility::AddFaces(int32_t cell, const std::vector<TFaceList>& lists) {
    if (cell < 0 || size_t(cell) >= Cells.size()) return;
    TBox all;
    for (const auto& [triangles, count] : lists)
        for (size_t i = 0; i < count; ++i) all.Add(triangles[i]);
    std::vector<std::pair<size_t, TBox>> near;  // the other cells' boxes that the faces reach
    for (size_t other = 0; other < Cells.size(); ++other) {
        const TBox box = widened(Cells[other]);
        if (int32_t(other) != cell && box.Meets(all)) near.emplace_back(other, box);
    }
    // Faces are taken a run at a time (runs of faces added together lie close together), and a
    // run's faces only against the boxes the run reaches.
    constexpr size_t kRun = 3 * 32;
    for (const auto& [triangles, count] : lists)
        for (size_t start = 0; !near.empty() && start + 3 <= count; start += kRun) {
            const size_t end = std::min(count - count % 3, start + kRun);
            TBox run;
            for (size_t i = start; i < end; ++i) run.Add(triangles[i]);
            for (const auto& [other, box] : near) {
                if (!run.Meets(box)) continue;
                for (size_t i = start; i < end; i += 3) {
                    const TBox part = clipped(&triangles[i], box);
                    if (!part.Empty()) addContact(Cells[other], cell, part);
                }
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
