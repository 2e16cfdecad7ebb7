#include "engine/CellVisibility.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/Scene.h"

namespace grottix {

namespace {

// A rectangle of the screen in the projection's units: x and y from -1 to 1 across the view.
struct TWindow {
    float left = 0, bottom = 0, right = 0, top = 0;
    bool Empty() const { return !(left < right && bottom < top); }
    bool Contains(const TWindow& w) const {
        return !Empty() && w.left >= left && w.right <= right && w.bottom >= bottom && w.top <= top;
    }
};

constexpr TWindow kWholeView{-1, -1, 1, 1};
// Portal rectangles are widened by this much (about six pixels of a 1280-pixel view): a window a
// little too large costs a few faces, one too small a wrong picture.
constexpr float kWindowMargin = 0.01f;
// Outlines are cut at this eye distance before they are projected (the screen position of a point
// beyond a portal is that of the point where its ray crosses the portal, at any positive distance).
constexpr float kCutDistance = 1e-3f;

TWindow overlap(const TWindow& a, const TWindow& b) {
    return {std::max(a.left, b.left), std::max(a.bottom, b.bottom), std::min(a.right, b.right), std::min(a.top, b.top)};
}

TWindow bound(const TWindow& a, const TWindow& b) {
    if (a.Empty()) return b;
    return {std::min(a.left, b.left), std::min(a.bottom, b.bottom), std::max(a.right, b.right), std::max(a.top, b.top)};
}

float dot(TD3DVector a, TD3DVector b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
TD3DVector cross(TD3DVector a, TD3DVector b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

class TView {
public:
    TView(TD3DVector eye, TD3DVector angles, float nearDistance)
        : eye_(eye),
          matrix_(ViewRotationMatrix(angles, nearDistance)),
          nearDistance_(std::max(nearDistance, 0.0f)),
          closeDistance_(std::max(2 * nearDistance, 0.01f)) {}

    // Where a portal shows on screen; none when the eye cannot see through it. A portal whose plane
    // passes close to the eye covers the whole view: its outline would project badly.
    std::optional<TWindow> PortalWindow(const TCellPortal& portal) const {
        const float length = VectorLength(portal.Normal);
        if (length > 1e-6f) {
            const TD3DVector normal = portal.Normal / length;
            bool behind = true, close = false;
            for (const TD3DVector& corner : portal.Corners) {
                const float side = dot(normal, eye_ - corner);
                behind = behind && side < -closeDistance_;
                close = close || std::fabs(side) <= closeDistance_;
            }
            if (behind) return std::nullopt;
            if (close) return kWholeView;
        }
        return projectedOutline(portal.Corners);
    }

    // The corners of the view's rectangle at the near distance (a little beyond it), in scene
    // units: faces between it and the eye are cut away by the near plane, and the eye sees through them.
    std::array<TD3DVector, 4> NearCorners() const {
        const auto& m = matrix_.m;
        const TD3DVector c0{m[0][0], m[1][0], m[2][0]}, c1{m[0][1], m[1][1], m[2][1]}, c2{m[0][2], m[1][2], m[2][2]};
        const TD3DVector a = cross(c1, c2), b = cross(c2, c0), c = cross(c0, c1);
        const float determinant = dot(c0, a), reach = 1.1f * nearDistance_;
        std::array<TD3DVector, 4> corners;
        for (size_t i = 0; i < 4; ++i) {
            const float x = i & 1 ? reach : -reach, y = i & 2 ? reach : -reach;
            corners[i] = std::fabs(determinant) > 1e-12f ? eye_ + (a * x + b * y + c * reach) / determinant : eye_;
        }
        return corners;
    }

    // Where a box shows on screen (its six sides bounded); the whole view when the eye is in it.
    std::optional<TWindow> BoxWindow(TD3DVector min, TD3DVector max) const {
        if (eye_.x >= min.x && eye_.x <= max.x && eye_.y >= min.y && eye_.y <= max.y && eye_.z >= min.z && eye_.z <= max.z)
            return kWholeView;
        const auto corner = [&](int i) { return TD3DVector{i & 1 ? max.x : min.x, i & 2 ? max.y : min.y, i & 4 ? max.z : min.z}; };
        // Each side by the corner numbers around it.
        constexpr int kSides[6][4] = {{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
        std::optional<TWindow> window;
        for (const auto& side : kSides) {
            const auto part = projectedOutline({corner(side[0]), corner(side[1]), corner(side[2]), corner(side[3])});
            if (part) window = bound(window.value_or(TWindow{}), *part);
        }
        return window;
    }

private:
    TD3DVector toView(TD3DVector p) const {
        const TD3DVector d = p - eye_;
        const auto& m = matrix_.m;
        return {d.x * m[0][0] + d.y * m[1][0] + d.z * m[2][0], d.x * m[0][1] + d.y * m[1][1] + d.z * m[2][1],
                d.x * m[0][2] + d.y * m[1][2] + d.z * m[2][2]};
    }

    // The outline cut to the part in front of the eye, projected, and bounded.
    std::optional<TWindow> projectedOutline(const std::array<TD3DVector, 4>& corners) const {
        std::array<TD3DVector, 4> view;
        for (size_t i = 0; i < 4; ++i) view[i] = toView(corners[i]);
        TWindow window{1e30f, 1e30f, -1e30f, -1e30f};
        bool any = false;
        const auto add = [&](TD3DVector v) {
            const float x = v.x / v.z, y = v.y / v.z;
            window = {std::min(window.left, x), std::min(window.bottom, y), std::max(window.right, x), std::max(window.top, y)};
            any = true;
        };
        for (size_t i = 0; i < 4; ++i) {
            const TD3DVector a = view[i], b = view[(i + 1) % 4];
            if (a.z >= kCutDistance) add(a);
            if ((a.z >= kCutDistance) != (b.z >= kCutDistance)) {
                const float t = (kCutDistance - a.z) / (b.z - a.z);
                add({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, kCutDistance});
            }
        }
        if (!any) return std::nullopt;
        return TWindow{window.left - kWindowMargin, window.bottom - kWindowMargin, window.right + kWindowMargin,
                       window.top + kWindowMargin};
    }

    TD3DVector eye_;
    TD3DMatrix matrix_;
    float nearDistance_;
    float closeDistance_;
};

bool boxHolds(const TCell& cell, TD3DVector p) {
    return p.x >= cell.Min.x && p.x <= cell.Max.x && p.y >= cell.Min.y && p.y <= cell.Max.y && p.z >= cell.Min.z &&
           p.z <= cell.Max.z;
}

float volume(const TCell& cell) {
    return (cell.Max.x - cell.Min.x) * (cell.Max.y - cell.Min.y) * (cell.Max.z - cell.Min.z);
}

class TWalk {
public:
    TWalk(const std::vector<TCell>& cells, const std::vector<uint8_t>& shown, const TView& view)
        : cells_(cells), shown_(shown), view_(view), seen_(cells.size()), drawn_(cells.size(), 0) {
        size_t portals = 0;
        for (const TCell& cell : cells) portals += cell.Portals.size();
        budget_ = 16 * (cells.size() + portals) + 64;
    }

    bool Shown(size_t cell) const { return shown_.empty() || (cell < shown_.size() && shown_[cell]); }

    // Walks from a cell seen through the window; false when the walk ran out of steps.
    bool From(int32_t start) {
        stack_.push_back({start, kWholeView});
        while (!stack_.empty()) {
            const auto [cell, window] = stack_.back();
            stack_.pop_back();
            TWindow& seen = seen_[size_t(cell)];
            if (seen.Contains(window)) continue;
            seen = bound(seen, window);
            drawn_[size_t(cell)] = 1;
            drawTouching(cells_[size_t(cell)], seen);
            for (const TCellPortal& portal : cells_[size_t(cell)].Portals) {
                if (budget_-- == 0) return false;
                const int32_t beyond = standing(portal.Beyond);
                if (beyond < 0) continue;
                const std::optional<TWindow> through = view_.PortalWindow(portal);
                if (!through) continue;
                const TWindow narrowed = overlap(*through, seen);
                if (!narrowed.Empty()) stack_.push_back({beyond, narrowed});
            }
        }
        return true;
    }

    std::vector<uint8_t> Drawn() { return std::move(drawn_); }

private:
    // Draws the shown cells with faces in the part of the cell in view; the walk goes on through
    // portals only, since what lies beyond such faces is hidden behind the cell's own walls.
    void drawTouching(const TCell& cell, const TWindow& seen) {
        for (const TCellContact& contact : cell.Contacts) {
            if (contact.Other < 0 || size_t(contact.Other) >= cells_.size() || drawn_[size_t(contact.Other)] ||
                !Shown(size_t(contact.Other)))
                continue;
            const std::optional<TWindow> window = view_.BoxWindow(contact.Min, contact.Max);
            if (window && !overlap(*window, seen).Empty()) drawn_[size_t(contact.Other)] = 1;
        }
    }

    // The cell shown at the place of a cell: itself, or its alternate; -1 for none or no such cell.
    int32_t standing(int32_t cell) const {
        if (cell < 0 || size_t(cell) >= cells_.size()) return -1;
        if (Shown(size_t(cell))) return cell;
        const int32_t alternate = cells_[size_t(cell)].Alternate;
        if (alternate >= 0 && size_t(alternate) < cells_.size() && Shown(size_t(alternate))) return alternate;
        return -1;
    }

    struct TStep {
        int32_t cell;
        TWindow window;
    };
    const std::vector<TCell>& cells_;
    const std::vector<uint8_t>& shown_;
    const TView& view_;
    std::vector<TWindow> seen_;
    std::vector<uint8_t> drawn_;
    std::vector<TStep> stack_;
    size_t budget_ = 0;
};

std::vector<uint8_t> everyCellShown(size_t count, const std::vector<uint8_t>& shown) {
    std::vector<uint8_t> drawn(count, 1);
    if (!shown.empty())
        for (size_t i = 0; i < count; ++i) drawn[i] = i < shown.size() && shown[i];
    return drawn;
}

}  // namespace

int32_t TCellVisibility::EyeCell(TD3DVector eye, const std::vector<uint8_t>& shown) const {
    int32_t best = -1;
    for (size_t i = 0; i < Cells.size(); ++i) {
        if (!shown.empty() && (i >= shown.size() || !shown[i])) continue;
        if (boxHolds(Cells[i], eye) && (best < 0 || volume(Cells[i]) < volume(Cells[size_t(best)]))) best = int32_t(i);
    }
    return best;
}

// Every cell whose box holds the eye is a start, the smallest first: boxes of neighbouring cells
// overlap where their walls meet, and the eye there may stand behind a portal of the smaller one.
// Cells without a single portal among them say nothing of what joins what: all are drawn, and so
// are all when the eye stands so close to its cell's side that the near plane reaches beyond it.
std::vector<uint8_t> TCellVisibility::VisibleCells(TD3DVector eye, TD3DVector angles, float nearDistance,
                                                   const std::vector<uint8_t>& shown, std::optional<int32_t> eyeCell) const {
    const int32_t first = eyeCell ? *eyeCell : EyeCell(eye, shown);
    const bool joined = std::any_of(Cells.begin(), Cells.end(), [](const TCell& cell) { return !cell.Portals.empty(); });
    if (first < 0 || size_t(first) >= Cells.size() || !joined) return everyCellShown(Cells.size(), shown);
    const TView view(eye, angles, nearDistance);
    // Near the cell's side the near plane cuts holes in its walls, through which anything may show.
    for (const TD3DVector& corner : view.NearCorners())
        if (!boxHolds(Cells[size_t(first)], corner)) return everyCellShown(Cells.size(), shown);
    TWalk walk(Cells, shown, view);
    bool complete = walk.From(first);
    for (size_t i = 0; complete && i < Cells.size(); ++i)
        if (int32_t(i) != first && walk.Shown(i) && boxHolds(Cells[i], eye)) complete = walk.From(int32_t(i));
    // A walk that ran out of steps (portals of a damaged level) draws everything shown.
    return complete ? walk.Drawn() : everyCellShown(Cells.size(), shown);
}

}  // namespace grottix
