#pragma once
// The Triggers dock: every trigger of the level in a sortable table. When an item is selected
// anywhere, it lists the triggers acting on that item ("Show All" lists every trigger again). When a
// square is selected anywhere, its triggers' rows are selected; choosing a row selects the trigger's
// square, and Go To (or a double-click) also asks for the eye to go there.

#include <QDockWidget>

#include <memory>

#include "app/panels/InspectedLevel.h"

class QLabel;
class QPushButton;
class QTableView;

namespace grottix {

class TSelection;
class TTriggerFilter;
class TTriggersModel;

class TTriggersDock : public QDockWidget {
    Q_OBJECT

public:
    TTriggersDock(TSelection& selection, QWidget* parent = nullptr);

    void SetLevel(std::shared_ptr<const TInspectedLevel> level);
    // Selects the square of the trigger in the view's row and asks to go there.
    void GoToRow(int viewRow);

    QTableView* Table() const { return table_; }
    TTriggerFilter* Filter() const { return filter_; }
    QLabel* FilterLabel() const { return label_; }

private:
    void selectionChanged();
    void rowChosen(const QModelIndex& current);
    void selectSquaresRows();
    void showAll();
    void updateLabel();

    TSelection& selection_;
    std::shared_ptr<const TInspectedLevel> level_;
    TTriggersModel* model_ = nullptr;
    TTriggerFilter* filter_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* label_ = nullptr;
    QPushButton *showAll_ = nullptr, *goTo_ = nullptr;
    bool following_ = false;  // rows being selected because the selection changed elsewhere
};

}  // namespace grottix
