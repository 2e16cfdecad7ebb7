// Choosing the cells a frame draws.

#include <algorithm>

#include "engine/Scene.h"

namespace grottix {

void TD3DScene::ChooseCellsDrawn(const std::vector<uint8_t>& shown) {
    if (CullCells && !Visibility.Cells.empty())
        CellsDrawn = Visibility.VisibleCells(GetCameraPosition(), GetCameraRotation(), NearDistance, shown);
    else
        CellsDrawn = shown;
    CellsDrawnCount = CellsDrawn.empty() ? Visibility.Cells.size()
                                         : size_t(std::count_if(CellsDrawn.begin(), CellsDrawn.end(), [](uint8_t d) { return d != 0; }));
}

}  // namespace grottix
