#pragma once
// The Problems and Differences panels' table: one row per finding of a level check or difference
// between two levels, in the order they were found: what kind, where (room, square, item) and the
// message. Places the level on screen does not have are left empty.

#include <QAbstractTableModel>

#include <vector>

#include "level/LevelCheck.h"
#include "level/LevelDiff.h"

namespace grottix {

struct TFindingRow {
    QString kind, message;
    int room = -1, x = -1, z = -1, item = -1;  // -1: not given
};

// The rows of a check's findings, and of the differences from another level to the one on screen
// (which has `items` items and `rooms` rooms).
std::vector<TFindingRow> ProblemRows(const std::vector<TLevelFinding>& findings);
std::vector<TFindingRow> DifferenceRows(const std::vector<TLevelDifference>& differences, int items, int rooms);

class TFindingsModel : public QAbstractTableModel {
public:
    enum TColumn { Kind, Room, Square, Item, Message, ColumnCount };
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;
    void SetRows(std::vector<TFindingRow> rows);
    const std::vector<TFindingRow>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<TFindingRow> rows_;
};

}  // namespace grottix
