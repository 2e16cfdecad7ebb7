#pragma once
// A dock listing one kind of thing of the level (items, rooms, lights...) as a sortable table with a
// text filter. Its rows stand for things the shared selection can hold; choosing a row selects that
// thing, and a selection made elsewhere (a click in the view, Find) selects the row. Enter or a
// double-click on a row asks for Go to. A column whose header answers false for ColumnShownRole
// (nothing of the level fills it) is hidden.

#include <QDockWidget>
#include <QPointer>

#include <functional>

#include "app/panels/Selection.h"

class QAbstractTableModel;
class QLineEdit;
class QModelIndex;
class QSortFilterProxyModel;
class QTableView;

namespace grottix {

// The header role a model answers false for in a column none of its rows fills.
constexpr int kColumnShownRole = Qt::UserRole + 1;

class TLevelTableDock : public QDockWidget {
public:
    // What a row of the model stands for, and the row standing for the selection (-1 none).
    using TTargetAt = std::function<TSelectionTarget(int row)>;
    using TRowOf = std::function<int(const TSelection& selection)>;

    // Rows that stand for the thing of the kind with their own index (Room: also a selected square's
    // room); sortRole is the role the model gives sort keys in. The dock takes the model.
    TLevelTableDock(const QString& title, QAbstractTableModel* model, int sortRole, TSelection& selection,
                    TSelection::TKind kind, QWidget* parent);
    // Rows of several kinds, as the two functions say.
    TLevelTableDock(const QString& title, QAbstractTableModel* model, int sortRole, TSelection& selection,
                    TTargetAt targetAt, TRowOf rowOf, QWidget* parent);

    QLineEdit* Filter() const { return filter_; }
    QTableView* Table() const { return table_; }
    // The model's row that a row of the table shows (for one kind, the thing's index), -1 for none.
    int IndexAtRow(int row) const;
    // The table's row that shows the model's row, -1 for none (filtered out).
    int RowOfIndex(int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rowChosen(const QModelIndex& current);
    void followSelection();
    void hideEmptyColumns();

    // The window's selection goes before the docks do, when the window closes.
    QPointer<TSelection> selection_;
    TTargetAt targetAt_;
    TRowOf rowOf_;
    QAbstractTableModel* model_;
    QSortFilterProxyModel* proxy_;
    QLineEdit* filter_;
    QTableView* table_;
    bool following_ = false;  // a row being selected because the selection changed elsewhere
};

}  // namespace grottix
