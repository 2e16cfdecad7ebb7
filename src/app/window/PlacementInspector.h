#pragma once
// What the level places besides items and rooms, in the window: the Lights, Static Meshes, Cameras
// and Sound Sources docks; View > Show Lights, Show Cameras and Show Sound Sources, which mark them
// in the 3D view (with the selected light's reach and the way it shines); the selected one outlined
// (a static mesh by its definition's box); and Go To for them, the eye looking at the thing from
// open space beside it.

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

#include "app/panels/Selection.h"
#include "import/SceneFaceSink.h"
#include "level/LevelGoTo.h"

class QAction;
class QMainWindow;
class QMenu;

namespace grottix {

class TCamerasModel;
class TGrottixViewerScene;
class TLevelTableDock;
class TLightsModel;
class TSoundSourcesModel;
class TStaticsModel;
struct TInspectedLevel;

class TPlacementInspector : public QObject {
public:
    // The docks start hidden; View gets an entry for each and the three Show commands.
    TPlacementInspector(QMainWindow& window, TSelection& selection, TGrottixViewerScene& scene, QMenu& viewMenu);

    // After every open, with the level read for the docks (none after a failure) and the import's scale.
    void LevelOpened(std::shared_ptr<const TInspectedLevel> level, float scale);
    // The selected light, static mesh, camera or sound source in words; empty for anything else.
    QString SelectionText() const;
    // The dock that lists records of the kind, none for other kinds.
    TLevelTableDock* DockFor(TSelection::TKind kind) const;
    // Where Go To puts the eye for the selected record; none when no record of these kinds is.
    std::optional<TEyePlacement> SelectionPlacement() const;

    // The one place the inspector moves the view; by default it puts the scene's camera at the placement.
    std::function<void(const TEyePlacement&)> MoveEye;
    // Go To a thing in a room the flip maps hide first shows that room.
    std::function<void(int room)> OnShowRoom = [](int) {};
    // Called after the eye moved or the marks or outline changed, so that a frame gets drawn.
    std::function<void()> OnViewChanged = [] {};

    TLevelTableDock *Lights = nullptr, *Statics = nullptr, *Cameras = nullptr, *SoundSources = nullptr;
    QAction *ShowLights = nullptr, *ShowCameras = nullptr, *ShowSoundSources = nullptr;

private:
    struct TTarget {
        double x = 0, y = 0, z = 0;  // level units, y down
        int room = -1;
        double facing = 0;           // radians
    };
    std::optional<TTarget> selectedTarget() const;
    void selectionChanged();
    void updateMarks();
    void outlineSelection();
    void goToSelection();
    TSceneBox sceneBox(double minX, double minY, double minZ, double maxX, double maxY, double maxZ) const;

    TSelection& selection_;
    TGrottixViewerScene& scene_;
    std::shared_ptr<const TInspectedLevel> level_;
    float scale_ = 128;
    TLightsModel* lights_ = nullptr;
    TStaticsModel* statics_ = nullptr;
    TCamerasModel* cameras_ = nullptr;
    TSoundSourcesModel* sounds_ = nullptr;
};

}  // namespace grottix
