#pragma once
// A dock listing one kind of thing of the level (items, rooms) as a sortable table with a text
// filter. Its rows stand for the entities or rooms of the same index; choosing a row selects that
// thing in the shared selection, and a selection made elsewhere (a click in the view) selects the
// row. Enter or a double-click on a row asks for Go to.

#include <QDockWidget>
#include <QPointer>

#include "app/panels/Selection.h"

class QAbstractTableModel;
class QLineEdit;
class QModelIndex;
class QSortFilterProxyModel;
class QTableView;

namespace grottix {

class TLevelTableDock : public QDockWidget {
public:
    // kind is Item or Room; sortRole is the role the model gives sort keys in. The dock takes the model.
    TLevelTableDock(const QString& title, QAbstractTableModel* model, int sortRole, TSelection& selection,
                    TSelection::TKind kind, QWidget* parent);

    QLineEdit* Filter() const { return filter_; }
    QTableView* Table() const { return table_; }
    // The thing (entity or room index) a row of the table shows, -1 for none.
    int IndexAtRow(int row) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rowChosen(const QModelIndex& current);
    void followSelection();
    int selectedIndex() const;

    // The window's selection goes before the docks do, when the window closes.
    QPointer<TSelection> selection_;
    TSelection::TKind kind_;
    QAbstractTableModel* model_;
    QSortFilterProxyModel* proxy_;
    QLineEdit* filter_;
    QTableView* table_;
    bool following_ = false;  // a row being selected because the selection changed elsewhere
};

}  // namespace grottix
