#include "app/window/PlacementInspector.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

#include <cmath>
#include <numbers>

#include "app/panels/InspectedLevel.h"
#include "app/panels/LevelTableDock.h"
#include "app/panels/PlacementModels.h"
#include "import/EyePlacement.h"
#include "level/TombRaiderLevel.h"
#include "viewer/ViewerScene.h"

namespace grottix {

namespace {

using TKind = TSelection::TKind;

// ARGB colours of the marks.
constexpr uint32_t kLightMark = 0xFFFF9020, kLightReach = 0xFFFFC060;
constexpr uint32_t kCameraMark = 0xFF20C0FF, kSinkMark = 0xFF20E0A0, kFlybyMark = 0xFF6070FF;
constexpr uint32_t kSoundMark = 0xFFF040F0;
// A sun's or spot's way is drawn this long (level units); a point is outlined by a cube this wide.
constexpr double kRayLength = 1024, kOutlineSize = 288;
// Where a static mesh has no box: half a sector wide, standing on its position, as an item's marker.
constexpr double kMarkerHalfWidth = 256, kMarkerHeight = 512;

}  // namespace

TPlacementInspector::TPlacementInspector(QMainWindow& window, TSelection& selection, TGrottixViewerScene& scene, QMenu& viewMenu)
    : QObject(&window), selection_(selection), scene_(scene) {
    lights_ = new TLightsModel(this);
    statics_ = new TStaticsModel(this);
    cameras_ = new TCamerasModel(this);
    sounds_ = new TSoundSourcesModel(this);
    Lights = new TLevelTableDock(tr("Lights"), lights_, TRecordsModel::SortRole, selection, TKind::Light, &window);
    Statics = new TLevelTableDock(tr("Static Meshes"), statics_, TRecordsModel::SortRole, selection, TKind::Static, &window);
    // The dock owns the model: its row functions hold the model, not this inspector.
    Cameras = new TLevelTableDock(
        tr("Cameras"), cameras_, TRecordsModel::SortRole, selection, [model = cameras_](int row) { return model->TargetAt(row); },
        [model = cameras_](const TSelection& s) { return model->RowOf(s); }, &window);
    SoundSources = new TLevelTableDock(tr("Sound Sources"), sounds_, TRecordsModel::SortRole, selection, TKind::SoundSource, &window);
    struct TEntry {
        TLevelTableDock* dock;
        const char* name;
        QString text, hint;
    };
    const TEntry entries[] = {
        {Lights, "LightsPanel", tr("Lights Panel"), tr("List the rooms' lights: kind, place, colour and how far they shine; double-click goes there")},
        {Statics, "StaticMeshesPanel", tr("Static Meshes Panel"), tr("List the static meshes placed in the rooms; double-click goes there")},
        {Cameras, "CamerasPanel", tr("Cameras Panel"), tr("List the cameras and sinks with the triggers that use them, and the fly-by cameras")},
        {SoundSources, "SoundSourcesPanel", tr("Sound Sources Panel"), tr("List the sound sources: sound, flip state, place")},
    };
    for (const TEntry& entry : entries) {
        entry.dock->setObjectName(QString::fromLatin1(entry.name));
        window.addDockWidget(Qt::RightDockWidgetArea, entry.dock);
        entry.dock->hide();
        QAction* show = entry.dock->toggleViewAction();
        show->setText(entry.text);
        show->setStatusTip(entry.hint);
        viewMenu.addAction(show);
    }
    const auto command = [&](const QString& text, const QString& hint) {
        QAction* action = viewMenu.addAction(text);
        action->setCheckable(true);
        action->setStatusTip(hint);
        connect(action, &QAction::toggled, this, &TPlacementInspector::updateMarks);
        return action;
    };
    ShowLights = command(tr("Show &Lights"), tr("Mark each light in the view, and how far the selected one shines"));
    ShowCameras = command(tr("Show &Cameras"), tr("Mark each camera, sink and fly-by camera in the view"));
    ShowSoundSources = command(tr("Show S&ound Sources"), tr("Mark each sound source in the view"));
    MoveEye = [this](const TEyePlacement& eye) {
        PlaceEye(scene_, eye, scale_);
        OnViewChanged();
    };
    connect(&selection_, &TSelection::Changed, this, &TPlacementInspector::selectionChanged);
    connect(&selection_, &TSelection::GoToRequested, this, &TPlacementInspector::goToSelection);
}

void TPlacementInspector::LevelOpened(std::shared_ptr<const TInspectedLevel> level, float scale) {
    level_ = std::move(level);
    scale_ = scale > 0 ? scale : 128;
    for (TRecordsModel* model : std::initializer_list<TRecordsModel*>{lights_, statics_, cameras_, sounds_}) model->SetLevel(level_);
    selectionChanged();
}

TLevelTableDock* TPlacementInspector::DockFor(TSelection::TKind kind) const {
    switch (kind) {
        case TKind::Light: return Lights;
        case TKind::Static: return Statics;
        case TKind::Camera:
        case TKind::FlybyCamera: return Cameras;
        case TKind::SoundSource: return SoundSources;
        default: return nullptr;
    }
}

QString TPlacementInspector::SelectionText() const {
    return level_ ? PlacementName(*level_, selection_.Kind(), selection_.Index(selection_.Kind())) : QString();
}

// The point the selected record stands for, with the room to look from first.
std::optional<TPlacementInspector::TTarget> TPlacementInspector::selectedTarget() const {
    if (!level_) return std::nullopt;
    const TKind kind = selection_.Kind();
    const int index = selection_.Index(kind);
    if (index < 0) return std::nullopt;
    const auto at = [index](const auto& list) { return size_t(index) < list.size() ? &list[size_t(index)] : nullptr; };
    if (kind == TKind::Light) {
        if (const TRoomLight* l = at(level_->Lights)) return TTarget{double(l->x), double(l->y), double(l->z), l->room, 0};
    } else if (kind == TKind::Static) {
        if (const TRoomStatic* s = at(level_->Statics)) {
            const double facing = s->angle * std::numbers::pi / 180;
            if (const auto box = StaticBox(*level_->Level, *s))
                return TTarget{(box->minX + box->maxX) / 2, (box->minY + box->maxY) / 2, (box->minZ + box->maxZ) / 2, s->room, facing};
            return TTarget{double(s->x), s->y - kMarkerHeight / 2, double(s->z), s->room, facing};
        }
    } else if (kind == TKind::Camera) {
        // A sink keeps the current's strength where a camera keeps its room.
        if (const TLevelCamera* c = at(level_->Cameras))
            return TTarget{double(c->x), double(c->y), double(c->z), c->sink && !c->camera ? -1 : int(c->room), 0};
    } else if (kind == TKind::FlybyCamera) {
        if (const TFlybyCamera* f = at(level_->FlybyCameras))
            return TTarget{double(f->x), double(f->y), double(f->z), f->room <= 0x7FFFFFFFu ? int(f->room) : -1, 0};
    } else if (kind == TKind::SoundSource) {
        if (const TSoundSource* s = at(level_->SoundSources)) {
            const int room = size_t(index) < level_->SoundSourceRooms.size() ? level_->SoundSourceRooms[size_t(index)] : -1;
            return TTarget{double(s->x), double(s->y), double(s->z), room, 0};
        }
    }
    return std::nullopt;
}

std::optional<TEyePlacement> TPlacementInspector::SelectionPlacement() const {
    const std::optional<TTarget> target = selectedTarget();
    if (!target) return std::nullopt;
    return GoToPoint(*level_->Level, target->room, target->x, target->y, target->z, target->facing);
}

void TPlacementInspector::goToSelection() {
    const std::optional<TEyePlacement> placement = SelectionPlacement();
    if (!placement) return;
    OnShowRoom(placement->room);
    MoveEye(*placement);
}

void TPlacementInspector::selectionChanged() {
    outlineSelection();
    updateMarks();
}

TSceneBox TPlacementInspector::sceneBox(double minX, double minY, double minZ, double maxX, double maxY, double maxZ) const {
    TSceneBox box;
    box.Add({float(minX / scale_), float(-minY / scale_), float(minZ / scale_)});
    box.Add({float(maxX / scale_), float(-maxY / scale_), float(maxZ / scale_)});
    return box;
}

// Only the kinds listed here: the items and rooms inspector outlines the others (and clears the
// outline first, having heard the change before this does).
void TPlacementInspector::outlineSelection() {
    if (!DockFor(selection_.Kind())) return;
    scene_.Outlined.reset();
    const std::optional<TTarget> target = selectedTarget();
    if (!target) return;
    if (selection_.Kind() == TKind::Static) {
        const TRoomStatic& s = level_->Statics[size_t(selection_.Index(TKind::Static))];
        if (const auto box = StaticBox(*level_->Level, s)) {
            scene_.Outlined = sceneBox(box->minX, box->minY, box->minZ, box->maxX, box->maxY, box->maxZ);
        } else {
            const double x = s.x, y = s.y, z = s.z;
            scene_.Outlined = sceneBox(x - kMarkerHalfWidth, y - kMarkerHeight, z - kMarkerHalfWidth, x + kMarkerHalfWidth, y,
                                       z + kMarkerHalfWidth);
        }
    } else {
        const double h = kOutlineSize / 2;
        scene_.Outlined = sceneBox(target->x - h, target->y - h, target->z - h, target->x + h, target->y + h, target->z + h);
    }
    OnViewChanged();
}

void TPlacementInspector::updateMarks() {
    TPlacementMarks& marks = scene_.Marks;
    marks.Clear();
    OnViewChanged();
    if (!level_) return;
    const float scale = scale_;
    if (ShowLights->isChecked()) {
        for (const TRoomLight& l : level_->Lights) AddMark(marks, l.x, l.y, l.z, scale, kLightMark, TMarkShape::Diamond);
        const int selected = selection_.Index(TKind::Light);
        if (selected >= 0 && size_t(selected) < level_->Lights.size()) {
            const TRoomLight& l = level_->Lights[size_t(selected)];
            if (const auto reach = LightReach(l)) AddReach(marks, l.x, l.y, l.z, *reach, scale, kLightReach);
            if (l.direction && (l.kind == TLightKind::Sun || l.kind == TLightKind::Spot))
                AddRay(marks, l.x, l.y, l.z, *l.direction, kRayLength, scale, kLightReach);
        }
    }
    if (ShowCameras->isChecked()) {
        for (const TLevelCamera& c : level_->Cameras)
            AddMark(marks, c.x, c.y, c.z, scale, c.sink && !c.camera ? kSinkMark : kCameraMark, TMarkShape::Box);
        for (const TFlybyCamera& f : level_->FlybyCameras) AddMark(marks, f.x, f.y, f.z, scale, kFlybyMark, TMarkShape::Box);
    }
    if (ShowSoundSources->isChecked())
        for (const TSoundSource& s : level_->SoundSources) AddMark(marks, s.x, s.y, s.z, scale, kSoundMark, TMarkShape::Diamond);
}

}  // namespace grottix
