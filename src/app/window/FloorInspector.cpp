#include "app/window/FloorInspector.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <numbers>

#include "viewer/SceneOverlay.h"
#include "viewer/ViewerScene.h"
#include "app/panels/InspectedLevel.h"
#include "app/panels/SectorMapDock.h"
#include "app/panels/Selection.h"
#include "app/panels/TriggersDock.h"
#include "import/EyePlacement.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr uint32_t kSelectedSquare = 0xE0FFFFFF;  // a white frame
constexpr int kEyeWatchMilliseconds = 250;

}  // namespace

TFloorInspector::TFloorInspector(QMainWindow& window, TSelection& selection, TGrottixViewerScene& scene, QMenu& viewMenu)
    : QObject(&window), selection_(selection), scene_(scene) {
    Triggers = new TTriggersDock(selection, &window);
    SectorMap = new TSectorMapDock(selection, &window);
    for (QDockWidget* dock : {static_cast<QDockWidget*>(Triggers), static_cast<QDockWidget*>(SectorMap)}) {
        window.addDockWidget(Qt::RightDockWidgetArea, dock);
        dock->hide();
    }
    QAction* showMap = SectorMap->toggleViewAction();
    showMap->setText(tr("Sector Map Panel"));
    showMap->setStatusTip(tr("Show the current room's squares: walls, portals, triggers, kill and climbable squares"));
    QAction* showTriggers = Triggers->toggleViewAction();
    showTriggers->setText(tr("Triggers Panel"));
    showTriggers->setStatusTip(tr("List the level's triggers and what they do; double-click goes to a trigger's square"));
    viewMenu.addAction(showMap);
    viewMenu.addAction(showTriggers);
    ShowTriggers = viewMenu.addAction(tr("Show &Triggers"));
    ShowTriggers->setCheckable(true);
    ShowTriggers->setStatusTip(tr("Draw trigger and kill squares over their floors"));
    connect(ShowTriggers, &QAction::toggled, this, &TFloorInspector::updateOverlay);
    connect(&selection_, &TSelection::Changed, this, &TFloorInspector::updateOverlay);
    connect(&selection_, &TSelection::GoToRequested, this, &TFloorInspector::goToSelectedSquare);
    MoveEye = [this](const TEyePlacement& eye) { placeCamera(eye); };
    eyeWatch_ = new QTimer(this);
    connect(eyeWatch_, &QTimer::timeout, this, &TFloorInspector::followEye);
    eyeWatch_->start(kEyeWatchMilliseconds);
}

TFloorInspector::~TFloorInspector() = default;

void TFloorInspector::LevelOpened(std::shared_ptr<const TInspectedLevel> level, float scale) {
    level_ = std::move(level);
    scale_ = scale > 0 ? scale : 128;
    Triggers->SetLevel(level_);
    SectorMap->SetLevel(level_);
    updateOverlay();
    followEye();
}

TEyePlacement TFloorInspector::SquarePlacement(int room, int x, int z) const {
    if (!level_ || room < 0 || size_t(room) >= level_->Level->Rooms.size()) return {};
    return GoToSquare(*level_->Level, size_t(room), x, z);
}

void TFloorInspector::placeCamera(const TEyePlacement& eye) {
    PlaceEye(scene_, eye, scale_);
    OnViewChanged();
}

void TFloorInspector::goToSelectedSquare() {
    if (selection_.Kind() != TSelection::TKind::Sector || !level_) return;
    MoveEye(SquarePlacement(selection_.Room(), selection_.Column(), selection_.Row()));
}

void TFloorInspector::followEye() {
    if (!level_ || !SectorMap->isVisible()) return;
    const TD3DVector eye = scene_.GetCameraPosition();
    SectorMap->SetEye(scene_.EyeRoom(), eye.x * scale_, eye.z * scale_, scene_.GetCameraRotation().y);
}

void TFloorInspector::updateOverlay() {
    scene_.Overlay.clear();
    OnViewChanged();
    if (!level_) return;
    const auto& rooms = level_->Level->Rooms;
    if (ShowTriggers->isChecked()) scene_.Overlay = TriggerOverlay(rooms, level_->Floor, scale_);
    const int room = selection_.Room();
    if (selection_.Kind() != TSelection::TKind::Sector || size_t(room) >= rooms.size()) return;
    const TSectorFloor* square = level_->Floor.rooms[size_t(room)].At(selection_.Column(), selection_.Row());
    if (!square) return;
    scene_.Overlay.resize(std::max(scene_.Overlay.size(), rooms.size()));
    AddSquareFrame(scene_.Overlay[size_t(room)], rooms[size_t(room)], *square, selection_.Column(), selection_.Row(),
                   scale_, kSelectedSquare);
}

}  // namespace grottix
