#include "app/panels/TriggersModel.h"

#include <QStringList>

#include "level/FloorDataNames.h"

namespace grottix {

void TTriggersModel::SetLevel(std::shared_ptr<const TInspectedLevel> level) {
    beginResetModel();
    level_ = std::move(level);
    endResetModel();
}

const TLevelTrigger* TTriggersModel::Trigger(int row) const {
    if (!level_ || row < 0 || size_t(row) >= level_->Floor.triggers.size()) return nullptr;
    return &level_->Floor.triggers[size_t(row)];
}

QString TTriggersModel::ActionsText(const TLevelTrigger& trigger) const {
    QStringList words;
    for (const TTriggerStep& step : trigger.actions)
        words << QString::fromStdString(DescribeTriggerAction(level_->VersionCode, step, level_->Entities));
    return words.join(QStringLiteral("; "));
}

int TTriggersModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !level_ ? 0 : int(level_->Floor.triggers.size());
}

int TTriggersModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TTriggersModel::data(const QModelIndex& index, int role) const {
    const TLevelTrigger* trigger = Trigger(index.row());
    if (!trigger) return {};
    if (role == Qt::DisplayRole) return display(*trigger, index.column());
    if (role == SortRole) return sortKey(*trigger, index.column());
    // The whole list of actions, one a line, wherever the pointer rests on the row.
    if (role == Qt::ToolTipRole) return ActionsText(*trigger).replace(QStringLiteral("; "), QStringLiteral("\n"));
    return {};
}

QVariant TTriggersModel::display(const TLevelTrigger& t, int column) const {
    switch (column) {
        case Room: return t.room;
        case Square: return QStringLiteral("%1, %2").arg(t.x).arg(t.z);
        case Type: return QString::fromStdString(TriggerTypeName(level_->VersionCode, t.type));
        case Timer: return int(t.timer);
        case Once: return t.once ? tr("yes") : QString();
        case Mask: return QString::fromStdString(TriggerMaskText(t.mask));
        case Actions: return ActionsText(t);
        default: return {};
    }
}

QVariant TTriggersModel::sortKey(const TLevelTrigger& t, int column) const {
    switch (column) {
        case Room: return t.room;
        case Square: return qlonglong(t.x) * 65536 + t.z;  // column first, then row
        case Timer: return int(t.timer);
        case Once: return int(t.once);
        default: return display(t, column);
    }
}

QVariant TTriggersModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const names[] = {"Room", "Square", "Type", "Timer", "Once", "Mask", "Actions"};
    return section >= 0 && section < ColumnCount ? tr(names[section]) : QVariant();
}

void TTriggerFilter::SetItem(int item) {
    if (item == item_) return;
    item_ = item;
    invalidateFilter();
}

bool TTriggerFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (item_ < 0) return true;
    const auto* model = qobject_cast<const TTriggersModel*>(sourceModel());
    const TLevelTrigger* trigger = model ? model->Trigger(sourceRow) : nullptr;
    return trigger && TriggerActsOnItem(*trigger, item_);
}

}  // namespace grottix
