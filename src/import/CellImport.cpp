#include "import/CellImport.h"

#include <algorithm>

#include "engine/CellVisibility.h"
#include "level/LevelPortals.h"
#include "level/LevelSectors.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

// The room's sector grid from its lowest to its highest point (the level's y grows downwards).
void roomBox(TCell& cell, const TRoomRecord& room, float scale) {
    const double top = std::min(room.yTop, room.yBottom), bottom = std::max(room.yTop, room.yBottom);
    cell.Min = {float(room.x / scale), float(-bottom / scale), float(room.z / scale)};
    cell.Max = {float((double(room.x) + double(room.xSectors) * kSectorSize) / scale), float(-top / scale),
                float((double(room.z) + double(room.zSectors) * kSectorSize) / scale)};
}

TCellPortal scenePortal(const TLevelPortal& portal, const TRoomRecord& room, float scale) {
    TCellPortal out;
    out.Beyond = portal.roomBeyond;
    out.Normal = {float(portal.normal[0]), -float(portal.normal[1]), float(portal.normal[2])};
    for (size_t c = 0; c < 4; ++c) {
        const auto& corner = portal.corners[c];
        out.Corners[c] = {float((double(room.x) + corner[0]) / scale), -float(corner[1]) / scale,
                          float((double(room.z) + corner[2]) / scale)};
    }
    return out;
}

}  // namespace

void ImportCells(TCellVisibility& visibility, const TTombRaiderLevel& level, float scale) {
    const size_t count = level.Rooms.size();
    visibility.Cells.assign(count, TCell{});
    for (size_t r = 0; r < count; ++r) {
        const TRoomRecord& room = level.Rooms[r];
        TCell& cell = visibility.Cells[r];
        roomBox(cell, room, scale);
        for (const TLevelPortal& portal : ReadPortals(room)) cell.Portals.push_back(scenePortal(portal, room, scale));
        if (room.alternateRoom >= 0 && size_t(room.alternateRoom) < count && size_t(room.alternateRoom) != r)
            cell.Alternate = room.alternateRoom;
    }
    // An alternate room stands in its primary's place too, when it names no room of its own.
    for (size_t r = 0; r < count; ++r) {
        const int32_t alternate = visibility.Cells[r].Alternate;
        if (alternate >= 0 && visibility.Cells[size_t(alternate)].Alternate < 0) visibility.Cells[size_t(alternate)].Alternate = int32_t(r);
    }
}

}  // namespace grottix
