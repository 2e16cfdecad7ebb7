#include "app/panels/ItemsModel.h"

#include "level/EntityFlags.h"
#include "level/EntityOutsideRoom.h"
#include "level/LevelEntities.h"
#include "level/ObjectNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::vector<TItemRow> ItemRows(const TTombRaiderLevel* level) {
    std::vector<TItemRow> rows;
    if (!level) return rows;
    const std::vector<TLevelEntity> entities = ReadEntities(*level);
    rows.reserve(entities.size());
    for (const TLevelEntity& e : entities)
        rows.push_back({e.type, QString::fromStdString(ObjectName(level->VersionCode, e.type)), e.room, e.x, e.y, e.z,
                        e.angle * 360.0 / 65536.0, e.flags, QString::fromStdString(DescribeEntityFlags(level->VersionCode, e.flags)),
                        EntityOutsideItsRoom(*level, e)});
    return rows;
}

void TItemsModel::SetRows(std::vector<TItemRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TItemsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int TItemsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TItemsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || size_t(index.row()) >= rows_.size()) return {};
    const TItemRow& row = rows_[size_t(index.row())];
    if (role == Qt::ToolTipRole && row.outsideRoom && index.column() == Room)
        return tr("Stands more than four sectors outside the box of room %1: drawn where it is stored, left out of "
                  "the glTF export").arg(row.room);
    if (role != Qt::DisplayRole && role != SortRole && role != Qt::TextAlignmentRole) return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == Name || index.column() == Flags ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    const bool sorting = role == SortRole;
    switch (index.column()) {
        case Index: return index.row();
        case Name: return row.name;
        case Room: return sorting || !row.outsideRoom ? QVariant(row.room) : QVariant(tr("%1 (far outside)").arg(row.room));
        case X: return row.x;
        case Y: return row.y;
        case Z: return row.z;
        case Facing: return sorting ? QVariant(row.facing) : QVariant(QString::number(row.facing, 'f', 1));
        case Flags: return sorting ? QVariant(row.flags) : QVariant(row.flagsText);
        default: return {};
    }
}

QVariant TItemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const names[ColumnCount] = {"#", "Name", "Room", "X", "Y", "Z", "Facing", "Flags"};
    return section >= 0 && section < ColumnCount ? QVariant(tr(names[section])) : QVariant();
}

}  // namespace grottix
