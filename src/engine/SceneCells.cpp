// Choosing the cells a frame draws.

#include <algorithm>
#include <cmath>
#include <deque>

#include "engine/Polygon.h"
#include "engine/Scene.h"
#include "engine/StubObject.h"

namespace grottix {

void TD3DScene::ChooseCellsDrawn(const std::vector<uint8_t>& shown, std::optional<int32_t> eyeCell) {
    if (CullCells && !Visibility.Cells.empty())
        CellsDrawn = Visibility.VisibleCells(GetCameraPosition(), GetCameraRotation(), NearDistance, shown, eyeCell);
    else
        CellsDrawn = shown;
    CellsDrawnCount = CellsDrawn.empty() ? Visibility.Cells.size()
                                         : size_t(std::count_if(CellsDrawn.begin(), CellsDrawn.end(), [](uint8_t d) { return d != 0; }));
}

namespace {

// The faces of a polygon drawn as strips or fans, as a triangle list.
std::vector<TD3DVector> triangleList(const std::vector<TD3DVector>& p, size_t count, bool fan) {
    std::vector<TD3DVector> list;
    for (size_t i = 0; i + 2 < count; ++i) {
        if (fan) list.insert(list.end(), {p[0], p[i + 1], p[i + 2]});
        else list.insert(list.end(), {p[i], p[i + 1], p[i + 2]});
    }
    return list;
}

// A polygon's faces as a triangle list: its own corners, or a list kept in lists.
TCellVisibility::TFaceList polygonFaces(const TD3DPolygon& polygon, std::deque<std::vector<TD3DVector>>& lists) {
    const size_t count = std::min(polygon.Positions.size(), size_t(std::max(polygon.Count, 0)));
    if (polygon.Info.PrimitiveType == kTriangleList) return {polygon.Positions.data(), count};
    lists.push_back(triangleList(polygon.Positions, count, polygon.Info.PrimitiveType == kTriangleFan));
    return {lists.back().data(), lists.back().size()};
}

}  // namespace

void TD3DScene::FindCellContacts() {
    const size_t cells = Visibility.Cells.size();
    for (TCell& cell : Visibility.Cells) cell.Contacts.clear();
    std::vector<std::vector<TCellVisibility::TFaceList>> faces(cells);
    std::deque<std::vector<TD3DVector>> converted;
    for (const auto& entry : Objects) {
        const int32_t cell = entry.Item->Cell;
        if (cell < 0 || size_t(cell) >= cells) continue;
        if (const auto* polygon = dynamic_cast<const TD3DPolygon*>(entry.Item.get())) {
            faces[size_t(cell)].push_back(polygonFaces(*polygon, converted));
        } else if (const auto* stub = dynamic_cast<const TD3DStubObject*>(entry.Item.get())) {
            // A sprite turns about its upright axis: it sweeps a box as wide as it is, all round.
            const TD3DStubObjectInfo& s = stub->Info;
            const float half = std::fabs(s.Width) / 2, halfHeight = std::fabs(s.Height) / 2;
            Visibility.AddBox(cell, {s.X - half, s.Y - halfHeight, s.Z - half}, {s.X + half, s.Y + halfHeight, s.Z + half});
        }
    }
    for (size_t cell = 0; cell < cells; ++cell) Visibility.AddFaces(int32_t(cell), faces[cell]);
}

}  // namespace grottix
