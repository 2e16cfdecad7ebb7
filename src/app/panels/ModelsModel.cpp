#include "app/panels/ModelsModel.h"

#include <algorithm>
#include <set>

#include "level/AnimationPose.h"
#include "level/LevelMoveables.h"
#include "level/ObjectNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

std::vector<TModelRow> ModelRows(const TTombRaiderLevel* level) {
    std::vector<TModelRow> rows;
    if (!level) return rows;
    const std::vector<TMoveable> moveables = ReadMoveables(*level);
    std::vector<uint16_t> firsts;
    for (const TMoveable& m : moveables)
        if (m.animation != 0xFFFF) firsts.push_back(m.animation);
    std::sort(firsts.begin(), firsts.end());
    const size_t animations = level->Animations.count;
    for (const TMoveable& m : moveables) {
        const int own = m.animation == 0xFFFF ? 0 : int(MoveableAnimationCount(firsts, m.animation, animations));
        rows.push_back({true, m.objectId, QString::fromStdString(ObjectName(level->VersionCode, int(m.objectId))), m.meshCount, own});
    }
    std::set<uint32_t> statics;
    for (const TStaticMeshDefinition& definition : level->StaticMeshDefinitions)
        if (statics.insert(definition.objectId).second)
            rows.push_back({false, definition.objectId, QObject::tr("Static mesh %1").arg(definition.objectId), 1, 0});
    return rows;
}

void TModelsModel::SetRows(std::vector<TModelRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TModelsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int TModelsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TModelsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || size_t(index.row()) >= rows_.size() || (role != Qt::DisplayRole && role != SortRole)) return {};
    const TModelRow& row = rows_[size_t(index.row())];
    switch (index.column()) {
        case Kind: return row.moveable ? tr("Moveable") : tr("Static mesh");
        case Id: return role == SortRole ? QVariant(row.id) : QVariant(QString::number(row.id));
        case Name: return row.name;
        case Meshes: return row.meshes;
        case Animations: return row.animations;
        default: return {};
    }
}

QVariant TModelsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const headings[] = {"Kind", "Object", "Name", "Meshes", "Animations"};
    return section >= 0 && section < ColumnCount ? tr(headings[section]) : QVariant();
}

}  // namespace grottix
