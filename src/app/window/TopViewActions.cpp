#include "app/window/TopViewActions.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>

#include "app/window/LevelInspector.h"
#include "app/window/MainWindow.h"
#include "level/LevelEntities.h"
#include "level/TombRaiderLevel.h"
#include "viewer/TopView.h"

namespace grottix {

TTopViewActions::TTopViewActions(TDXViewerForm& window, TLevelInspector& inspector, QMenu& viewMenu)
    : QObject(&window), window_(window), inspector_(inspector) {
    TopView = viewMenu.addAction(tr("&Top View"));
    TopView->setCheckable(true);
    TopView->setShortcut(QKeySequence(Qt::Key_T));
    TopView->setStatusTip(tr("Look straight down on the selected room, or the room the eye is in, with the rooms above it hidden"));
    OrthographicView = viewMenu.addAction(tr("Top View &Orthographic"));
    OrthographicView->setCheckable(true);
    OrthographicView->setStatusTip(tr("Draw the top view without perspective: every depth at one scale, as a plan"));
    connect(TopView, &QAction::toggled, this, [this](bool on) { SetTopView(on); });
    connect(OrthographicView, &QAction::toggled, this, [this](bool on) { SetOrthographic(on); });
}

bool TTopViewActions::Orthographic() const { return OrthographicView->isChecked(); }

void TTopViewActions::SetOrthographic(bool on) {
    OrthographicView->setChecked(on);
    TGrottixViewerScene& scene = *window_.Scene;
    if (!TopViewOn() || scene.Projection.Orthographic == on) return;
    TViewProjection projection = scene.Projection;
    projection.Orthographic = on;
    scene.SetProjection(projection);
    window_.Pacing.Request();
}

int TTopViewActions::chosenRoom() const {
    const TGrottixViewerScene& scene = *window_.Scene;
    if (!scene.Level) return -1;
    const int item = window_.Selection.Item();
    int room = window_.Selection.Room();
    if (item >= 0) {
        const std::vector<TLevelEntity> entities = ReadEntities(*scene.Level);
        if (size_t(item) < entities.size()) room = entities[size_t(item)].room;
    }
    if (room < 0 && window_.Selection.Kind() == TSelection::TKind::None) room = scene.EyeRoom();
    return room >= 0 && size_t(room) < scene.Level->Rooms.size() ? room : -1;
}

void TTopViewActions::SetTopView(bool on) {
    if (on != TopViewOn()) {
        if (on) {
            const int room = chosenRoom();
            if (room < 0) {
                window_.statusBar()->showMessage(tr("Top View looks down on a room: select one, or stand in one"), 5000);
                on = false;
            } else {
                TGrottixViewerScene& scene = *window_.Scene;
                saved_ = TSavedCamera{scene.GetCameraPosition(), scene.GetCameraRotation(), window_.Eye.Orbit};
                // From above, the free camera moves over the plan.
                window_.Eye.Orbit.reset();
                inspector_.SetOrbit(false);
                lookDownOn(room);
            }
        } else {
            const TSavedCamera camera = *saved_;
            showAsIs();
            TGrottixViewerScene& scene = *window_.Scene;
            scene.JumpCamera(camera.position);
            scene.SetCameraRotation(camera.angles);
            window_.Eye.Orbit = camera.orbit;
            inspector_.SetOrbit(camera.orbit.has_value());
        }
    }
    TopView->setChecked(on);
    window_.Pacing.Request();
}

void TTopViewActions::LevelChanged() {
    if (!TopViewOn()) return;
    showAsIs();
    TopView->setChecked(false);
}

void TTopViewActions::lookDownOn(int room) {
    TGrottixViewerScene& scene = *window_.Scene;
    const TTopView view = TopViewOver(RoomSceneBox(*scene.Level, size_t(room), scene.LevelScale), Orthographic(),
                                      window_.Eye.FloorHeight);
    scene.RoomsHidden = RoomsAbove(*scene.Level, size_t(room));
    scene.SetProjection(view.Projection);
    scene.JumpCamera(view.Eye);
    scene.SetCameraRotation(view.Angles);
}

// The rooms all shown again, through the fixed projection.
void TTopViewActions::showAsIs() {
    TGrottixViewerScene& scene = *window_.Scene;
    scene.RoomsHidden.clear();
    scene.SetProjection({});
    saved_.reset();
}

}  // namespace grottix
