// Choosing the cells a frame draws.

#include <algorithm>
#include <cmath>

#include "engine/Polygon.h"
#include "engine/Scene.h"
#include "engine/StubObject.h"

namespace grottix {

void TD3DScene::ChooseCellsDrawn(const std::vector<uint8_t>& shown) {
    if (CullCells && !Visibility.Cells.empty())
        CellsDrawn = Visibility.VisibleCells(GetCameraPosition(), GetCameraRotation(), NearDistance, shown);
    else
        CellsDrawn = shown;
    CellsDrawnCount = CellsDrawn.empty() ? Visibility.Cells.size()
                                         : size_t(std::count_if(CellsDrawn.begin(), CellsDrawn.end(), [](uint8_t d) { return d != 0; }));
}

namespace {

// A polygon's faces as a triangle list, whatever primitive it draws with.
std::vector<TD3DVector> triangleList(const TD3DPolygon& polygon) {
    const auto& p = polygon.Positions;
    const size_t count = std::min(p.size(), size_t(std::max(polygon.Count, 0)));
    std::vector<TD3DVector> list;
    if (polygon.Info.PrimitiveType == kTriangleList) return {p.begin(), p.begin() + std::ptrdiff_t(count - count % 3)};
    for (size_t i = 0; i + 2 < count; ++i) {
        if (polygon.Info.PrimitiveType == kTriangleFan) list.insert(list.end(), {p[0], p[i + 1], p[i + 2]});
        else list.insert(list.end(), {p[i], p[i + 1], p[i + 2]});
    }
    return list;
}

}  // namespace

void TD3DScene::FindCellContacts() {
    for (TCell& cell : Visibility.Cells) cell.Contacts.clear();
    for (const auto& entry : Objects) {
        const int32_t cell = entry.Item->Cell;
        if (cell < 0) continue;
        if (const auto* polygon = dynamic_cast<const TD3DPolygon*>(entry.Item.get())) {
            Visibility.AddFaces(cell, triangleList(*polygon));
        } else if (const auto* stub = dynamic_cast<const TD3DStubObject*>(entry.Item.get())) {
            // A sprite turns about its upright axis: it sweeps a box as wide as it is, all round.
            const TD3DStubObjectInfo& s = stub->Info;
            const float half = std::fabs(s.Width) / 2, halfHeight = std::fabs(s.Height) / 2;
            Visibility.AddBox(cell, {s.X - half, s.Y - halfHeight, s.Z - half}, {s.X + half, s.Y + halfHeight, s.Z + half});
        }
    }
}

}  // namespace grottix
