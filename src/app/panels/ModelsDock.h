#pragma once
// The Models panel: the level's moveables and static meshes in a sortable table with a filter, and
// below it the timeline of the model chosen: its animation (a spin box), the frame shown, the
// animation's state, frame rate and next animation, its state changes and commands in words, and
// Play, Pause, Step and Loop. The dock only shows and asks; the window shows the model and plays it.

#include <QDockWidget>

#include <functional>

#include "app/panels/ModelsModel.h"
#include "level/LevelAnimations.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPlainTextEdit;
class QPushButton;
class QSortFilterProxyModel;
class QSpinBox;
class QTableView;

namespace grottix {

class TModelsDock : public QDockWidget {
public:
    explicit TModelsDock(QWidget* parent);

    // The level on screen changed (none: no level): the table is rebuilt, the timeline emptied.
    void SetLevel(const TTombRaiderLevel* level);
    // What the view shows now: the moveable's animation and frame (animations: how many from its
    // first; 0 for a static mesh or none shown), whether it plays.
    void ShowModel(bool shown, int firstAnimation, int animations);
    void ShowFrame(int animation, double frame, bool playing);

    // A row chosen (a click, Enter or a double-click).
    std::function<void(const TModelRow& row)> OnChosen = [](const TModelRow&) {};
    std::function<void(int animation)> OnAnimation = [](int) {};
    std::function<void(bool play)> OnPlay = [](bool) {};
    std::function<void()> OnStep = [] {};
    std::function<void(bool loop)> OnLoop = [](bool) {};

    QLineEdit* Filter() const { return filter_; }
    QTableView* Table() const { return table_; }
    QSpinBox* AnimationBox() const { return animation_; }
    QLabel* FrameLabel() const { return frame_; }
    QPlainTextEdit* Facts() const { return facts_; }
    // The table's row that shows the model's row, -1 for none.
    int RowOf(int modelRow) const;

private:
    QWidget* createTimeline();
    void rowChosen(const QModelIndex& current);
    void describe(int animation);

    TModelsModel* model_;
    QSortFilterProxyModel* proxy_;
    QLineEdit* filter_;
    QTableView* table_;
    QSpinBox* animation_;
    QLabel *frame_, *record_;
    QPlainTextEdit* facts_;
    QPushButton *play_, *pause_, *step_;
    QCheckBox* loop_;
    QWidget* timeline_;
    TLevelAnimations tables_;
    int described_ = -1;
};

}  // namespace grottix
