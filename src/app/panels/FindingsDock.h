#pragma once
// A dock listing findings (a level's problems, two levels' differences) in a sortable table with a
// text filter. Choosing a row selects its place in the shared selection: the item, else the square,
// else the room; Enter or a double-click also asks to go there.

#include <QDockWidget>
#include <QPointer>

#include <vector>

#include "app/panels/FindingsModel.h"
#include "app/panels/Selection.h"

class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

namespace grottix {

class TFindingsDock : public QDockWidget {
public:
    TFindingsDock(const QString& title, TSelection& selection, QWidget* parent);

    // The rows, and a line above them saying what they are ("3 problems", "Compared with b.tr4").
    void SetRows(std::vector<TFindingRow> rows, const QString& summary);

    TFindingsModel* Model() const { return model_; }
    QLineEdit* Filter() const { return filter_; }
    QTableView* Table() const { return table_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rowChosen(const QModelIndex& current);

    QPointer<TSelection> selection_;
    TFindingsModel* model_;
    QSortFilterProxyModel* proxy_;
    QLabel* summary_;
    QLineEdit* filter_;
    QTableView* table_;
};

}  // namespace grottix
