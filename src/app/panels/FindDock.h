#pragma once
// The Find panel (Edit > Find): one box that searches the level's items, rooms, triggers, lights,
// static meshes, cameras and sound sources by name or number, and a table of what matches. Every
// word typed must match the thing's description: a number one of the description's numbers ("#12"
// as 12), any other word a part of it, in any case ("lever", "sink", "wolf 3"). Choosing a hit
// (Enter in the box takes the first, Enter or a double-click in the table the row) hands it to
// OnChosen, which selects it and goes there.

#include <QAbstractTableModel>
#include <QDockWidget>
#include <QSortFilterProxyModel>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

#include "app/panels/InspectedLevel.h"
#include "app/panels/Selection.h"

class QLabel;
class QLineEdit;
class QTableView;

namespace grottix {

struct TFindHit {
    TSelection::TKind kind = TSelection::TKind::None;  // Sector for a trigger: the square it lies on
    int index = -1;                        // the record's or the room's index; a trigger's in the floor data
    int room = -1, column = -1, row = -1;  // a trigger's square
    QString what;                          // "Item", "Room", "Trigger", "Light"...
    QString text;                          // what it is, in words
    QString folded;                        // the text in lower case, for matching
    QStringList numbers;                   // the text's numbers, for matching
};

// Everything of the level Find looks through, kind by kind (items, rooms, lights, static meshes,
// cameras, fly-by cameras, sound sources, triggers), each in file order.
std::vector<TFindHit> FindableThings(const TInspectedLevel& level);
// Whether every word of the query matches the thing; an empty query matches nothing.
bool FindMatches(const TFindHit& thing, const QString& query);

class TFindModel : public QAbstractTableModel {
public:
    enum TColumn { What, Found, ColumnCount };
    using QAbstractTableModel::QAbstractTableModel;
    void SetLevel(const TInspectedLevel* level);
    const TFindHit* Hit(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<TFindHit> things_;
};

// Keeps the things that match the query.
class TFindFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void SetQuery(const QString& query);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    QString query_;
};

class TFindDock : public QDockWidget {
public:
    explicit TFindDock(QWidget* parent = nullptr);

    void SetLevel(std::shared_ptr<const TInspectedLevel> level);
    // Shows and raises the panel with the box focused and its text selected, to type over.
    void Activate();
    // Hands the hit in the table's row to OnChosen.
    void ChooseRow(int row);

    QLineEdit* Box() const { return box_; }
    QTableView* Results() const { return results_; }
    QLabel* Count() const { return count_; }
    std::function<void(const TFindHit&)> OnChosen = [](const TFindHit&) {};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search(const QString& query);

    std::shared_ptr<const TInspectedLevel> level_;
    TFindModel* model_ = nullptr;
    TFindFilter* filter_ = nullptr;
    QLineEdit* box_ = nullptr;
    QTableView* results_ = nullptr;
    QLabel* count_ = nullptr;
};

}  // namespace grottix
