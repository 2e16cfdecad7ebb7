#include "app/window/LevelInspector.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "app/window/MainWindow.h"
#include "app/window/ViewMouse.h"
#include "viewer/ViewPicking.h"
#include "import/EyePlacement.h"
#include "app/panels/ItemsModel.h"
#include "app/panels/LevelTableDock.h"
#include "app/panels/RoomsModel.h"
#include "level/LevelGoTo.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr double kRadiansPerPixel = 0.005;  // mouse look: a drag across 640 pixels turns about 180 degrees
constexpr float kWheelStep = 2;             // scene units per wheel notch: a quarter of a sector
constexpr float kHalfPi = 1.5707964f;       // the pitch limit, as the keys keep it
constexpr double kWheelZoom = 0.85;         // orbiting, a notch forward brings the eye this much nearer

// The box around an entity nothing was drawn for (the player's start, unknown types): half a
// sector wide, standing on its position.
TSceneBox markerBox(const TItemRow& row, float scale) {
    TSceneBox box;
    const double x = row.x, y = row.y, z = row.z;  // any stored value, without overflow
    box.Add({float((x - 256) / scale), float(-y / scale), float((z - 256) / scale)});
    box.Add({float((x + 256) / scale), float(-(y - 512) / scale), float((z + 256) / scale)});
    return box;
}

TSceneBox roomBox(const TRoomRow& row, float scale) {
    TSceneBox box;
    const double x = row.x, z = row.z, bottom = row.yBottom, top = row.yTop;
    box.Add({float(x / scale), float(-bottom / scale), float(z / scale)});
    box.Add({float((x + row.xSectors * 1024.0) / scale), float(-top / scale), float((z + row.zSectors * 1024.0) / scale)});
    return box;
}

// One square of a room: its column from the room's bottom to its top.
TSceneBox squareBox(const TRoomRow& row, int column, int square, float scale) {
    TSceneBox box = roomBox(row, scale);
    const double x = row.x + column * 1024.0, z = row.z + square * 1024.0;
    box.min.x = float(x / scale), box.max.x = float((x + 1024) / scale);
    box.min.z = float(z / scale), box.max.z = float((z + 1024) / scale);
    return box;
}

}  // namespace

TLevelInspector::TLevelInspector(TDXViewerForm& window, QMenu& viewMenu) : QObject(&window), window_(window) {
    createDocks(viewMenu);
    createStatusFields();
    mouse_ = new TViewMouse(*window.DXDraw);
    mouse_->OnDrag = [this](double right, double down) { turnEye(right, down); };
    mouse_->OnWheel = [this](double notches) { moveEye(notches); };
    mouse_->OnClick = [this](double x, double y) { pickAt(x, y); };
    mouse_->OnPan = [this](double right, double down) { pan(right, down); };
    mouse_->OnDoubleClick = [this](double x, double y) { centreAt(x, y); };
    createCameraMenu(viewMenu);
    connect(&window.Selection, &TSelection::Changed, this, [this] {
        outlineSelection();
        centreOrbitOnSelection();
        viewChanged();
    });
    connect(&window.Selection, &TSelection::GoToRequested, this, [this] { goToSelection(); });
}

void TLevelInspector::createDocks(QMenu& viewMenu) {
    items_ = new TItemsModel(this);
    rooms_ = new TRoomsModel(this);
    itemsDock_ = new TLevelTableDock(tr("Items"), items_, TItemsModel::SortRole, window_.Selection, TSelection::TKind::Item, &window_);
    itemsDock_->setObjectName(QStringLiteral("ItemsPanel"));
    roomsDock_ = new TLevelTableDock(tr("Rooms"), rooms_, TRoomsModel::SortRole, window_.Selection, TSelection::TKind::Room, &window_);
    roomsDock_->setObjectName(QStringLiteral("RoomsPanel"));
    for (TLevelTableDock* dock : {itemsDock_, roomsDock_}) {
        window_.addDockWidget(Qt::RightDockWidgetArea, dock);
        dock->hide();
    }
    QAction* showItems = itemsDock_->toggleViewAction();
    showItems->setText(tr("Items Panel"));
    showItems->setStatusTip(tr("List the level's items: what they are, where they stand; double-click goes there"));
    QAction* showRooms = roomsDock_->toggleViewAction();
    showRooms->setText(tr("Rooms Panel"));
    showRooms->setStatusTip(tr("List the level's rooms: place, size, faces, items and flags; double-click goes there"));
    viewMenu.addAction(showItems);
    viewMenu.addAction(showRooms);
}

void TLevelInspector::createCameraMenu(QMenu& viewMenu) {
    QMenu* camera = viewMenu.addMenu(tr("&Camera"));
    auto* modes = new QActionGroup(this);
    free_ = camera->addAction(tr("&Free"));
    free_->setStatusTip(tr("Walk and fly: the keys move the eye, dragging turns it"));
    orbit_ = camera->addAction(tr("&Orbit"));
    orbit_->setStatusTip(tr("Turn round the selection: drag to orbit, the wheel to come nearer, right-drag to pan, "
                            "double-click to centre"));
    for (QAction* mode : {free_, orbit_}) {
        mode->setCheckable(true);
        modes->addAction(mode);
    }
    free_->setChecked(true);
    connect(orbit_, &QAction::toggled, this, [this](bool on) { SetOrbit(on); });
    camera->addSeparator();
    QAction* toggle = camera->addAction(tr("Switch Camera"));
    toggle->setShortcut(QKeySequence(Qt::Key_O));
    toggle->setStatusTip(tr("Switch between the free and the orbit camera"));
    connect(toggle, &QAction::triggered, this, [this] { (Orbiting() ? free_ : orbit_)->setChecked(true); });
}

bool TLevelInspector::Orbiting() const { return window_.Eye.Orbit.has_value(); }

void TLevelInspector::SetOrbit(bool on) {
    if (on == Orbiting()) {
        (on ? orbit_ : free_)->setChecked(true);
        return;
    }
    TGrottixViewerScene& scene = *window_.Scene;
    if (on) {
        const TD3DVector eye = scene.GetCameraPosition(), angles = scene.GetCameraRotation();
        const TD3DVector ahead{std::sin(angles.y) * std::cos(angles.x), std::sin(angles.x), std::cos(angles.y) * std::cos(angles.x)};
        window_.Eye.Orbit = TOrbitCamera::Around(eye + ahead * TOrbitCamera{}.Distance, eye, angles);
        centreOrbitOnSelection();
    } else {
        window_.Eye.Orbit.reset();
    }
    (on ? orbit_ : free_)->setChecked(true);
    viewChanged();
}

// While orbiting, the selection is the centre, seen whole: from as far as its box is across.
void TLevelInspector::centreOrbitOnSelection() {
    std::optional<TOrbitCamera>& orbit = window_.Eye.Orbit;
    const std::optional<TSceneBox>& box = window_.Scene->Outlined;
    if (!orbit || !box || box->Empty()) return;
    orbit->CentreOn((box->min + box->max) * 0.5f, std::max(VectorLength(box->max - box->min) * 1.2f, 4.0f));
    orbit->Apply(*window_.Scene);
}

void TLevelInspector::pan(double right, double down) {
    std::optional<TOrbitCamera>& orbit = window_.Eye.Orbit;
    const int height = window_.DXDraw->SurfaceHeight();
    if (!orbit || height < 1) return;
    // The view shows as far up and down as the centre is away: a drag across the view's height
    // moves the centre twice the distance, with the pointer.
    const double perPixel = 2.0 * orbit->Distance / height;
    orbit->Pan(float(-right * perPixel), float(down * perPixel));
    orbit->Apply(*window_.Scene);
    viewChanged();
}

void TLevelInspector::centreAt(double x, double y) {
    std::optional<TOrbitCamera>& orbit = window_.Eye.Orbit;
    if (!orbit) return;
    const std::optional<TD3DVector> point = PointAt(x, y);
    if (!point) return;
    orbit->CentreOn(*point, DistanceBetween(*point, window_.Scene->GetCameraPosition()));
    orbit->Apply(*window_.Scene);
    viewChanged();
}

std::optional<TD3DVector> TLevelInspector::PointAt(double x, double y) const { return pickUnder(x, y).point; }

TPick TLevelInspector::pickUnder(double x, double y) const {
    const TGrottixViewerScene& scene = *window_.Scene;
    if (!scene.Level) return {};
    const std::optional<TViewRay> ray = ViewRay(scene, window_.DXDraw->SurfaceWidth(), window_.DXDraw->SurfaceHeight(), x, y);
    if (!ray) return {};
    std::vector<int> itemRooms;
    itemRooms.reserve(items_->Rows().size());
    for (const TItemRow& row : items_->Rows()) itemRooms.push_back(row.room);
    static const std::map<int, TSceneBox> none;
    return PickAlongRay(*ray, *scene.Level, window_.ItemsOn ? scene.ItemBounds : none, itemRooms, scene.RoomsVisible(),
                        float(window_.LevelScale));
}

void TLevelInspector::createStatusFields() {
    eyeLabel_ = new QLabel(&window_);
    roomLabel_ = new QLabel(&window_);
    selectedLabel_ = new QLabel(&window_);
    for (QLabel* label : {eyeLabel_, roomLabel_, selectedLabel_}) window_.statusBar()->addPermanentWidget(label);
    statusTimer_ = new QTimer(this);
    // The keys move the eye in the frame loop: the status bar catches up a few times a second.
    connect(statusTimer_, &QTimer::timeout, this, [this] { showStatus(); });
    statusTimer_->start(250);
}

void TLevelInspector::LevelChanged() {
    const TTombRaiderLevel* level = window_.Scene->Level.get();
    items_->SetRows(ItemRows(level));
    rooms_->SetRows(RoomRows(level));
    window_.Selection.Clear();
    outlineSelection();
    // Orbiting goes on round the point ahead of the new level's start.
    if (Orbiting()) {
        window_.Eye.Orbit.reset();
        SetOrbit(true);
    }
    viewChanged();
}

void TLevelInspector::viewChanged() {
    // The frame loop draws what changed; the status bar follows at once.
    shownEye_ = {1e30f, 0, 0};
    showStatus();
    window_.Pacing.Request();
}

void TLevelInspector::turnEye(double right, double down) {
    if (std::optional<TOrbitCamera>& orbit = window_.Eye.Orbit) {
        orbit->Orbit(float(right * kRadiansPerPixel), float(-down * kRadiansPerPixel));
        orbit->Apply(*window_.Scene);
        return viewChanged();
    }
    TD3DVector angles = window_.Scene->GetCameraRotation();
    angles.y += float(right * kRadiansPerPixel);
    // Dragging up looks up.
    angles.x = std::clamp(float(angles.x - down * kRadiansPerPixel), -kHalfPi, kHalfPi);
    window_.Scene->SetCameraRotation(angles);
    viewChanged();
}

void TLevelInspector::moveEye(double notches) {
    TGrottixViewerScene& scene = *window_.Scene;
    if (scene.Projection.Orthographic) {
        // Seen without perspective, coming nearer shows nothing larger: the wheel zooms instead.
        TViewProjection projection = scene.Projection;
        projection.HalfHeight = std::clamp(float(projection.HalfHeight * std::pow(kWheelZoom, notches)), 0.5f, 20000.0f);
        scene.SetProjection(projection);
        return viewChanged();
    }
    if (std::optional<TOrbitCamera>& orbit = window_.Eye.Orbit) {
        orbit->Zoom(float(std::pow(kWheelZoom, notches)));
        orbit->Apply(*window_.Scene);
        return viewChanged();
    }
    const TD3DVector angles = window_.Scene->GetCameraRotation();
    TD3DVector eye = window_.Scene->GetCameraPosition();
    const auto step = float(notches) * kWheelStep;
    // Along the line of sight: pitch looks up when positive.
    eye.x += std::sin(angles.y) * std::cos(angles.x) * step;
    eye.y += std::sin(angles.x) * step;
    eye.z += std::cos(angles.y) * std::cos(angles.x) * step;
    eye.y = std::max(eye.y, window_.Eye.FloorHeight + 0.5f);
    // A notch back after a notch forward returns to the previous position, which SetCameraPosition
    // would refuse.
    window_.Scene->JumpCamera(eye);
    viewChanged();
}

void TLevelInspector::placeEye(const TEyePlacement& placement) {
    for (const double value : {placement.x, placement.y, placement.z, placement.yaw, placement.pitch})
        if (!std::isfinite(value)) return;
    PlaceEye(*window_.Scene, placement, float(window_.LevelScale));
    // Orbiting, the eye goes on turning round the centre from where go to put it.
    if (std::optional<TOrbitCamera>& orbit = window_.Eye.Orbit) {
        *orbit = TOrbitCamera::Around(orbit->Centre, window_.Scene->GetCameraPosition(), window_.Scene->GetCameraRotation());
        orbit->Apply(*window_.Scene);
    }
    viewChanged();
}

void TLevelInspector::goToSelection() {
    const TTombRaiderLevel* level = window_.Scene->Level.get();
    const TSelection& selection = window_.Selection;
    if (!level) return;
    std::optional<TEyePlacement> placement;
    if (selection.Item() >= 0) placement = GoToItem(*level, size_t(selection.Item()), window_.Scene->ItemExtent(selection.Item()));
    else if (selection.Kind() == TSelection::TKind::Room) placement = GoToRoom(*level, size_t(selection.Room()));
    if (!placement) return;
    OnShowRoom(placement->room);
    placeEye(*placement);
}

void TLevelInspector::pickAt(double x, double y) {
    if (!window_.Scene->Level || OnViewClick(x, y)) return;
    const TPick pick = pickUnder(x, y);
    if (pick.item >= 0) window_.Selection.SelectItem(pick.item);
    else if (pick.room >= 0) window_.Selection.SelectRoom(pick.room);
    else window_.Selection.Clear();
}

void TLevelInspector::outlineSelection() {
    TGrottixViewerScene& scene = *window_.Scene;
    const auto scale = float(window_.LevelScale);
    const int item = window_.Selection.Item(), room = window_.Selection.Room();
    scene.Outlined.reset();
    if (item >= 0 && size_t(item) < items_->Rows().size()) {
        const auto drawn = scene.ItemBounds.find(item);
        const bool hasBox = drawn != scene.ItemBounds.end() && !drawn->second.Empty();
        scene.Outlined = hasBox ? drawn->second : markerBox(items_->Rows()[size_t(item)], scale);
    } else if (room >= 0 && size_t(room) < rooms_->Rows().size()) {
        const TRoomRow& row = rooms_->Rows()[size_t(room)];
        const int column = window_.Selection.Column(), square = window_.Selection.Row();
        scene.Outlined = column >= 0 && square >= 0 ? squareBox(row, column, square, scale) : roomBox(row, scale);
    }
}

void TLevelInspector::showStatus() {
    const TD3DVector eye = window_.Scene->GetCameraPosition();
    if (eye == shownEye_) return;
    shownEye_ = eye;
    const double scale = window_.LevelScale;
    const double x = eye.x * scale, y = -eye.y * scale, z = eye.z * scale;
    eyeLabel_->setText(tr("Eye %1, %2, %3").arg(std::lround(x)).arg(std::lround(y)).arg(std::lround(z)));
    const int room = window_.Scene->EyeRoom();
    roomLabel_->setText(room >= 0 ? tr("Room %1").arg(room) : tr("No room"));
    const int item = window_.Selection.Item();
    if (item >= 0 && size_t(item) < items_->Rows().size())
        selectedLabel_->setText(tr("Item %1: %2").arg(item).arg(items_->Rows()[size_t(item)].name));
    else if (window_.Selection.Kind() == TSelection::TKind::Sector)
        selectedLabel_->setText(tr("Square %1, %2 of room %3 selected")
                                    .arg(window_.Selection.Column())
                                    .arg(window_.Selection.Row())
                                    .arg(window_.Selection.Room()));
    else if (window_.Selection.Room() >= 0)
        selectedLabel_->setText(tr("Room %1 selected").arg(window_.Selection.Room()));
    else
        selectedLabel_->setText(NameOtherSelection());
}

}  // namespace grottix
