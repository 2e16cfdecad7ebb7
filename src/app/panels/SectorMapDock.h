#pragma once
// The Sector Map dock: the current room's squares (TSectorMapWidget) with a legend. The current
// room is the room of the selection (the room or square selected, the room of the selected item,
// light, static mesh, camera or sound source), or the one the eye is in while nothing is selected;
// the eye and the selected thing are marked where they stand in it. A click selects the square; a double-click on a portal square selects the room
// beyond and asks to go there.

#include <QDockWidget>

#include <memory>
#include <optional>

#include "app/panels/InspectedLevel.h"

class QGridLayout;
class QLabel;

namespace grottix {

class TSelection;
class TSectorMapWidget;

class TSectorMapDock : public QDockWidget {
    Q_OBJECT

public:
    TSectorMapDock(TSelection& selection, QWidget* parent = nullptr);

    void SetLevel(std::shared_ptr<const TInspectedLevel> level);
    // Where the eye is: its room (-1 none), its place (level units) and the way it looks (yaw,
    // radians, 0 along +z).
    void SetEye(int room, double x, double z, double yaw);
    TSectorMapWidget* Map() const { return map_; }
    int ShownRoom() const;

private:
    // Where the selected item, light, static mesh, camera or sound source stands: its room (-1 none
    // known) and place in level units; none for other selections.
    struct TPlace {
        int room = -1;
        double x = 0, z = 0;
    };
    std::optional<TPlace> selectedPlace() const;
    void showRoom(int room);
    void showCurrentRoom();
    void markEyeAndItem();
    void selectionChanged();
    void squareClicked(int x, int z);
    void squareDoubleClicked(int x, int z);

    TSelection& selection_;
    std::shared_ptr<const TInspectedLevel> level_;
    TSectorMapWidget* map_ = nullptr;
    QLabel* title_ = nullptr;
    QGridLayout* legend_ = nullptr;
    int eyeRoom_ = -1;
    double eyeX_ = 0, eyeZ_ = 0, eyeYaw_ = 0;
};

}  // namespace grottix
