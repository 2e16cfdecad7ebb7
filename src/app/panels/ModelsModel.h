#pragma once
// The Models panel's table: every moveable of the level (by object id, with the game's name, its
// meshes and own animations), then every static mesh definition (by object id).

#include <QAbstractTableModel>

#include <cstdint>
#include <vector>

namespace grottix {

class TTombRaiderLevel;

struct TModelRow {
    bool moveable = true;  // else a static mesh
    uint32_t id = 0;       // object id
    QString name;
    int meshes = 0, animations = 0;
};

// The rows of the level's moveables and static meshes (none for no level).
std::vector<TModelRow> ModelRows(const TTombRaiderLevel* level);

class TModelsModel : public QAbstractTableModel {
public:
    enum TColumn { Kind, Id, Name, Meshes, Animations, ColumnCount };
    static constexpr int SortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;
    void SetRows(std::vector<TModelRow> rows);
    const std::vector<TModelRow>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<TModelRow> rows_;
};

}  // namespace grottix
