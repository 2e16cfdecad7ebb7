#pragma once
// The inspector of what each square does: the Triggers and Sector Map docks, View > Show
// Triggers (translucent trigger and kill squares over the floors) and the selected square marked in
// the 3D view. It follows the eye from room to room and carries out Go To for a selected square.

#include <QObject>

#include <functional>
#include <memory>

#include "level/LevelGoTo.h"

class QAction;
class QMainWindow;
class QMenu;
class QTimer;

namespace grottix {

class TGrottixViewerScene;
class TSectorMapDock;
class TSelection;
class TTriggersDock;
struct TInspectedLevel;

class TFloorInspector : public QObject {
public:
    // The docks start hidden; View gets an entry for each and Show Triggers.
    TFloorInspector(QMainWindow& window, TSelection& selection, TGrottixViewerScene& scene, QMenu& viewMenu);
    ~TFloorInspector() override;

    // After every open, with the level read for the docks (none after a failure) and the scale of the import.
    void LevelOpened(std::shared_ptr<const TInspectedLevel> level, float scale);

    // Where the eye goes for a selected square: in its open space (or beside it), looking at it.
    TEyePlacement SquarePlacement(int room, int x, int z) const;
    // The one place the inspector moves the view; replaceable. By default it puts the scene's camera
    // at the placement.
    std::function<void(const TEyePlacement&)> MoveEye;
    // Called after the eye moved or the overlay changed, so that a frame gets drawn.
    std::function<void()> OnViewChanged = [] {};

    TTriggersDock* Triggers = nullptr;
    TSectorMapDock* SectorMap = nullptr;
    QAction* ShowTriggers = nullptr;

private:
    void followEye();
    void goToSelectedSquare();
    void updateOverlay();
    void placeCamera(const TEyePlacement& eye);

    TSelection& selection_;
    TGrottixViewerScene& scene_;
    std::shared_ptr<const TInspectedLevel> level_;
    float scale_ = 128;
    QTimer* eyeWatch_ = nullptr;
};

}  // namespace grottix
