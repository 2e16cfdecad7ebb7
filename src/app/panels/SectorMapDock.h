#pragma once
// The Sector Map dock: the current room's squares (TSectorMapWidget) with a legend. The current
// room is the one the eye is in, or the one selected, whichever changed last. A click selects the
// square; a double-click on a portal square selects the room beyond and asks to go there.

#include <QDockWidget>

#include <memory>

#include "app/panels/InspectedLevel.h"

class QLabel;

namespace grottix {

class TSelection;
class TSectorMapWidget;

class TSectorMapDock : public QDockWidget {
    Q_OBJECT

public:
    TSectorMapDock(TSelection& selection, QWidget* parent = nullptr);

    void SetLevel(std::shared_ptr<const TInspectedLevel> level);
    // The room that holds the eye (-1 none): shown when it changes.
    void SetEyeRoom(int room);
    TSectorMapWidget* Map() const { return map_; }
    int ShownRoom() const;

private:
    void showRoom(int room);
    void selectionChanged();
    void squareClicked(int x, int z);
    void squareDoubleClicked(int x, int z);

    TSelection& selection_;
    std::shared_ptr<const TInspectedLevel> level_;
    TSectorMapWidget* map_ = nullptr;
    QLabel* title_ = nullptr;
    int eyeRoom_ = -1;
};

}  // namespace grottix
