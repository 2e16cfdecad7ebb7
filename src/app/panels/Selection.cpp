#include "app/panels/Selection.h"

namespace grottix {

void TSelection::SelectItem(int item) { set(TKind::Item, item, -1, -1, -1); }

void TSelection::SelectRoom(int room) { set(TKind::Room, -1, room, -1, -1); }

void TSelection::SelectSector(int room, int column, int row) { set(TKind::Sector, -1, room, column, row); }

void TSelection::Select(TKind kind, int index) {
    if (kind == TKind::Room) SelectRoom(index);
    else if (listed(kind)) set(kind, index, -1, -1, -1);
}

void TSelection::Clear() { set(TKind::None, -1, -1, -1, -1); }

void TSelection::set(TKind kind, int index, int room, int column, int row) {
    if (kind == kind_ && index == index_ && room == room_ && column == column_ && row == row_) return;
    kind_ = kind;
    index_ = index;
    room_ = room;
    column_ = column;
    row_ = row;
    emit Changed();
}

}  // namespace grottix
