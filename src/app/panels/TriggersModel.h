#pragma once
// The level's triggers as a table: room, square, type, timer, one-shot, mask and the actions in
// words. TTriggerFilter narrows it to the triggers acting on one item.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <memory>

#include "app/panels/InspectedLevel.h"

namespace grottix {

class TTriggersModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum TColumn { Room, Square, Type, Timer, Once, Mask, Actions, ColumnCount };
    // The role that sorts: numbers for the numeric columns, text for the others.
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void SetLevel(std::shared_ptr<const TInspectedLevel> level);
    const TLevelTrigger* Trigger(int row) const;
    // The actions in words, joined by "; ".
    QString ActionsText(const TLevelTrigger& trigger) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QVariant display(const TLevelTrigger& trigger, int column) const;
    QVariant sortKey(const TLevelTrigger& trigger, int column) const;

    std::shared_ptr<const TInspectedLevel> level_;
};

class TTriggerFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    // Only the triggers that activate or look at the item; -1 shows every trigger.
    void SetItem(int item);
    int Item() const { return item_; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    int item_ = -1;
};

}  // namespace grottix
