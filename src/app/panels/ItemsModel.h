#pragma once
// The items panel's table: one row per entity of the level, the player's start included, in file
// order (row = entity index): index, name, room, position in level units, facing in degrees, flags.
// An item far outside its room says so in the room column, and why in its tooltip.

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct TItemRow {
    int type = 0;
    QString name;
    int room = 0;
    int x = 0, y = 0, z = 0;  // level units as stored; y grows downwards
    double facing = 0;        // degrees, 0 faces +z, 90 faces +x
    uint16_t flags = 0;
    QString flagsText;        // what the flags mean, in words
    bool outsideRoom = false; // far outside its room's box (EntityOutsideItsRoom)
};

// The rows of the level's entities (none for no level).
std::vector<TItemRow> ItemRows(const TTombRaiderLevel* level);

class TItemsModel : public QAbstractTableModel {
public:
    enum TColumn { Index, Name, Room, X, Y, Z, Facing, Flags, ColumnCount };
    // The role the sorting reads: numbers for the numeric columns, text for the others.
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;
    void SetRows(std::vector<TItemRow> rows);
    const std::vector<TItemRow>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<TItemRow> rows_;
};

}  // namespace grottix
