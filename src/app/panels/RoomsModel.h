#pragma once
// The rooms panel's table: one row per room of the level (row = room index): index, position,
// size in sectors, face counts, the number of items standing in it, and its flags (water, the
// alternate room and the room it is the alternate of, the alternate group).

#include <QAbstractTableModel>

#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct TRoomRow {
    int x = 0, z = 0, yBottom = 0, yTop = 0;  // level units; y grows downwards
    int xSectors = 0, zSectors = 0;
    int rectangles = 0, triangles = 0, items = 0;
    bool water = false;
    int alternate = -1;    // the room shown instead of this one when its group is flipped, -1 none
    int alternateOf = -1;  // the room this one is shown instead of, -1 none
    int group = 0;
};

// The rows of the level's rooms (none for no level).
std::vector<TRoomRow> RoomRows(const TTombRaiderLevel* level);

class TRoomsModel : public QAbstractTableModel {
public:
    enum TColumn { Index, X, Z, Floor, Ceiling, Size, Rectangles, Triangles, Items, Water, Alternate, AlternateOf, Group, ColumnCount };
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;
    void SetRows(std::vector<TRoomRow> rows);
    const std::vector<TRoomRow>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<TRoomRow> rows_;
};

}  // namespace grottix
