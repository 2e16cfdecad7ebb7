#pragma once
// Which cells of a scene the eye can see: cells are boxes joined by portals (convex outlines). The
// walk starts in the cell that holds the eye and goes on through every portal that faces the eye and
// shows on screen within the window of the portals passed so far, narrowing the window each time.
// Screen positions come from the view the frame draws with (ViewRotationMatrix) and the fixed
// projection of the viewer (x / z, y / z), so a cell left out is one no pixel of the frame shows.

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "engine/EngineTypes.h"

namespace grottix {

struct TCellPortal {
    std::array<TD3DVector, 4> Corners;  // scene units, in order around the outline
    TD3DVector Normal;                  // points into the cell holding the portal, towards an eye that sees through it
    int32_t Beyond = -1;                // the cell seen through it
};

// Where faces of another cell lie in or on a cell's box. Faces are drawn from both sides, so a wall
// of a neighbour that stands back to back with a wall of the cell shows through it wherever the two
// coincide: when that part of the cell is in view, the other cell is drawn too.
struct TCellContact {
    int32_t Other = -1;
    TD3DVector Min, Max;
};

struct TCell {
    TD3DVector Min, Max;  // the box of the cell; an eye inside it stands in the cell
    std::vector<TCellPortal> Portals;
    std::vector<TCellContact> Contacts;
    // The cell that stands at the same place when this one is not shown (-1: none).
    int32_t Alternate = -1;
};

class TCellVisibility {
public:
    // Of the cells shown (an empty list shows all) whose box holds the eye, the smallest; -1 when none.
    int32_t EyeCell(TD3DVector eye, const std::vector<uint8_t>& shown) const;
    // Per cell, 1 for the cells shown that the eye can see, 0 for the others. An eye in no cell, or
    // cells without any portal, see every cell shown. angles and nearDistance are those of the view
    // (pitch, yaw, roll). eyeCell: the cell the eye stands in, when the caller knows it better than
    // the boxes do (-1: in none); else EyeCell.
    std::vector<uint8_t> VisibleCells(TD3DVector eye, TD3DVector angles, float nearDistance, const std::vector<uint8_t>& shown,
                                      std::optional<int32_t> eyeCell = std::nullopt) const;

    // Notes the contacts of all of a cell's faces (triangle lists: first corner, corner count) with
    // the boxes of the other cells.
    using TFaceList = std::pair<const TD3DVector*, size_t>;
    void AddFaces(int32_t cell, const std::vector<TFaceList>& lists);
    // Notes the contacts of a box that something of a cell fills (a sprite turning to the eye).
    void AddBox(int32_t cell, TD3DVector min, TD3DVector max);

    std::vector<TCell> Cells;
};

}  // namespace grottix
