#include "app/panels/SectorMapDock.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include <set>

#include "app/panels/SectorMapWidget.h"
#include "app/panels/Selection.h"
#include "level/FloorDataNames.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

QLabel* swatch(QWidget* parent, const QColor& colour, Qt::BrushStyle style = Qt::SolidPattern) {
    QPixmap picture(14, 14);
    picture.fill(style == Qt::SolidPattern ? colour : SquareKindColour(TSquareKind::Floor));
    if (style != Qt::SolidPattern) {
        QPainter painter(&picture);
        painter.fillRect(picture.rect(), QBrush(colour, style));
    }
    auto* label = new QLabel(parent);
    label->setPixmap(picture);
    return label;
}

// Every kind of square with its colour, a swatch per trigger type the level holds.
void fillLegend(QGridLayout& grid, QWidget* box, const TInspectedLevel* level) {
    while (QLayoutItem* item = grid.takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int row = 0;
    const auto add = [&](QLabel* sample, const QString& text) {
        grid.addWidget(sample, row / 2, (row % 2) * 2);
        grid.addWidget(new QLabel(text, box), row / 2, (row % 2) * 2 + 1);
        ++row;
    };
    for (int kind = 0; kind < int(TSquareKind::Count); ++kind)
        if (TSquareKind(kind) != TSquareKind::Trigger)
            add(swatch(box, SquareKindColour(TSquareKind(kind))), SquareKindName(TSquareKind(kind)));
    if (level) {
        std::set<int> types;
        for (const TLevelTrigger& trigger : level->Floor.triggers) types.insert(trigger.type);
        for (int type : types)
            add(swatch(box, TriggerTypeColour(type)),
                TSectorMapDock::tr("Trigger: %1").arg(QString::fromStdString(TriggerTypeName(level->VersionCode, type))));
    }
    add(swatch(box, ClimbColour()), TSectorMapDock::tr("Climbable side (bar)"));
    add(swatch(box, MonkeySwingColour(), Qt::BDiagPattern), TSectorMapDock::tr("Monkey-swing"));
    grid.setColumnStretch(1, 1);
    grid.setColumnStretch(3, 1);
}

}  // namespace

TSectorMapDock::TSectorMapDock(TSelection& selection, QWidget* parent)
    : QDockWidget(tr("Sector Map"), parent), selection_(selection) {
    setObjectName(QStringLiteral("SectorMapPanel"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    title_ = new QLabel(body);
    map_ = new TSectorMapWidget(body);
    layout->addWidget(title_);
    layout->addWidget(map_, 1);
    auto* legend = new QWidget(body);
    legend_ = new QGridLayout(legend);
    legend_->setContentsMargins(0, 0, 0, 0);
    fillLegend(*legend_, legend, nullptr);
    layout->addWidget(legend);
    setWidget(body);
    connect(map_, &TSectorMapWidget::SquareClicked, this, &TSectorMapDock::squareClicked);
    connect(map_, &TSectorMapWidget::SquareDoubleClicked, this, &TSectorMapDock::squareDoubleClicked);
    connect(&selection_, &TSelection::Changed, this, &TSectorMapDock::selectionChanged);
    showRoom(-1);
}

void TSectorMapDock::SetLevel(std::shared_ptr<const TInspectedLevel> level) {
    level_ = std::move(level);
    fillLegend(*legend_, legend_->parentWidget(), level_.get());
    eyeRoom_ = -1;
    showRoom(-1);
}

void TSectorMapDock::SetEye(int room, double x, double z, double yaw) {
    if (room == eyeRoom_ && x == eyeX_ && z == eyeZ_ && yaw == eyeYaw_) return;
    const bool moved = room != eyeRoom_;
    eyeRoom_ = room;
    eyeX_ = x, eyeZ_ = z, eyeYaw_ = yaw;
    if (moved && selection_.Kind() == TSelection::TKind::None) showCurrentRoom();
    else markEyeAndItem();
}

// The selection's room, else the eye's.
void TSectorMapDock::showCurrentRoom() {
    int room = eyeRoom_;
    if (selection_.Kind() == TSelection::TKind::Room || selection_.Kind() == TSelection::TKind::Sector) room = selection_.Room();
    else if (const std::optional<TPlace> place = selectedPlace(); place && place->room >= 0) room = place->room;
    showRoom(room);
}

std::optional<TSectorMapDock::TPlace> TSectorMapDock::selectedPlace() const {
    if (!level_) return std::nullopt;
    using TKind = TSelection::TKind;
    const TKind kind = selection_.Kind();
    const int index = selection_.Index(kind);
    if (index < 0) return std::nullopt;
    const size_t i = size_t(index);
    switch (kind) {
        case TKind::Item:
            if (i < level_->Entities.size()) return TPlace{level_->Entities[i].room, double(level_->Entities[i].x), double(level_->Entities[i].z)};
            break;
        case TKind::Light:
            if (i < level_->Lights.size()) return TPlace{level_->Lights[i].room, double(level_->Lights[i].x), double(level_->Lights[i].z)};
            break;
        case TKind::Static:
            if (i < level_->Statics.size()) return TPlace{level_->Statics[i].room, double(level_->Statics[i].x), double(level_->Statics[i].z)};
            break;
        case TKind::Camera:
            // A sink keeps the current's strength where a camera keeps its room.
            if (i < level_->Cameras.size()) {
                const TLevelCamera& c = level_->Cameras[i];
                return TPlace{c.sink && !c.camera ? -1 : int(c.room), double(c.x), double(c.z)};
            }
            break;
        case TKind::FlybyCamera:
            if (i < level_->FlybyCameras.size()) {
                const TFlybyCamera& f = level_->FlybyCameras[i];
                return TPlace{f.room <= 0x7FFFFFFFu ? int(f.room) : -1, double(f.x), double(f.z)};
            }
            break;
        case TKind::SoundSource:
            if (i < level_->SoundSources.size() && i < level_->SoundSourceRooms.size())
                return TPlace{level_->SoundSourceRooms[i], double(level_->SoundSources[i].x), double(level_->SoundSources[i].z)};
            break;
        default: break;
    }
    return std::nullopt;
}

void TSectorMapDock::markEyeAndItem() {
    const int shown = map_->Room();
    if (!level_ || shown < 0) return;
    const TRoomRecord& room = level_->Level->Rooms[size_t(shown)];
    // In squares from the room's corner.
    const auto inSquares = [&](double x, double z) { return QPointF((x - room.x) / 1024.0, (z - room.z) / 1024.0); };
    map_->MarkEye(eyeRoom_ == shown ? std::optional(inSquares(eyeX_, eyeZ_)) : std::nullopt, eyeYaw_);
    std::optional<QPointF> item;
    if (const std::optional<TPlace> place = selectedPlace(); place && place->room == shown) item = inSquares(place->x, place->z);
    map_->MarkItem(item);
}

int TSectorMapDock::ShownRoom() const { return map_->Room(); }

void TSectorMapDock::showRoom(int room) {
    map_->Show(level_, room);
    if (selection_.Kind() == TSelection::TKind::Sector && selection_.Room() == map_->Room())
        map_->Mark(selection_.Column(), selection_.Row());
    markEyeAndItem();
    const int shown = map_->Room();
    if (!level_) title_->setText(tr("No level"));
    else if (shown < 0) title_->setText(tr("No room: the eye is outside the rooms"));
    else {
        const TRoomFloor& floor = level_->Floor.rooms[size_t(shown)];
        title_->setText(tr("Room %1: %2 by %3 squares").arg(shown).arg(floor.xSectors).arg(floor.zSectors));
    }
}

void TSectorMapDock::selectionChanged() {
    if (selection_.Kind() != TSelection::TKind::Sector) map_->Mark(-1, -1);
    showCurrentRoom();
}

void TSectorMapDock::squareClicked(int x, int z) { selection_.SelectSector(map_->Room(), x, z); }

void TSectorMapDock::squareDoubleClicked(int x, int z) {
    const int room = map_->Room();
    if (!level_ || room < 0) return;
    const TSectorFloor* square = level_->Floor.rooms[size_t(room)].At(x, z);
    if (!square || square->portal < 0 || size_t(square->portal) >= level_->Floor.rooms.size()) return;
    selection_.SelectRoom(square->portal);
    selection_.RequestGoTo();
}

}  // namespace grottix
