#include "app/panels/RoomsModel.h"

#include "level/LevelEntities.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::vector<TRoomRow> RoomRows(const TTombRaiderLevel* level) {
    std::vector<TRoomRow> rows;
    if (!level) return rows;
    rows.reserve(level->Rooms.size());
    for (const TRoomRecord& room : level->Rooms) {
        TRoomRow row{room.x, room.z, room.yBottom, room.yTop, room.xSectors, room.zSectors};
        row.rectangles = int(room.rectangles.size());
        row.triangles = int(room.triangles.size());
        row.water = room.flags[0] & 0x1;
        row.group = room.alternateGroup;
        rows.push_back(row);
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        const int alternate = level->Rooms[i].alternateRoom;
        if (alternate < 0 || size_t(alternate) >= rows.size()) continue;
        rows[i].alternate = alternate;
        rows[size_t(alternate)].alternateOf = int(i);
    }
    for (const TLevelEntity& entity : ReadEntities(*level))
        if (entity.room >= 0 && size_t(entity.room) < rows.size()) ++rows[size_t(entity.room)].items;
    return rows;
}

void TRoomsModel::SetRows(std::vector<TRoomRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TRoomsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int TRoomsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TRoomsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || size_t(index.row()) >= rows_.size()) return {};
    if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != SortRole) return {};
    const TRoomRow& row = rows_[size_t(index.row())];
    const bool sorting = role == SortRole;
    const auto room = [sorting](int r) { return sorting || r >= 0 ? QVariant(r) : QVariant(QString()); };
    switch (index.column()) {
        case Index: return index.row();
        case X: return row.x;
        case Z: return row.z;
        case Floor: return row.yBottom;
        case Ceiling: return row.yTop;
        case Size:
            return sorting ? QVariant(row.xSectors * row.zSectors) : QVariant(QStringLiteral("%1 x %2").arg(row.xSectors).arg(row.zSectors));
        case Rectangles: return row.rectangles;
        case Triangles: return row.triangles;
        case Items: return row.items;
        case Water: return sorting ? QVariant(row.water) : QVariant(row.water ? tr("water") : QString());
        case Alternate: return room(row.alternate);
        case AlternateOf: return room(row.alternateOf);
        case Group: return row.group;
        default: return {};
    }
}

QVariant TRoomsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const names[ColumnCount] = {"#",     "X",     "Z",         "Floor",        "Ceiling",
                                                   "Sectors", "Quads", "Triangles", "Items", "Water",
                                                   "Alternate", "Alternate of", "Group"};
    return section >= 0 && section < ColumnCount ? QVariant(tr(names[section])) : QVariant();
}

}  // namespace grottix
