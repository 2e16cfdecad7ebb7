#include "app/panels/SectorMapDock.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/panels/Selection.h"
#include "app/panels/SectorMapWidget.h"

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

QWidget* legend(QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    const auto add = [&](QLabel* sample, const QString& text) {
        grid->addWidget(sample, row / 2, (row % 2) * 2);
        grid->addWidget(new QLabel(text, box), row / 2, (row % 2) * 2 + 1);
        ++row;
    };
    for (int kind = 0; kind < int(TSquareKind::Count); ++kind)
        add(swatch(box, SquareKindColour(TSquareKind(kind))), SquareKindName(TSquareKind(kind)));
    add(swatch(box, QColor(30, 150, 60)), TSectorMapDock::tr("Climbable side (bar)"));
    add(swatch(box, QColor(110, 40, 160), Qt::BDiagPattern), TSectorMapDock::tr("Monkey-swing"));
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return box;
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
    layout->addWidget(legend(body));
    setWidget(body);
    connect(map_, &TSectorMapWidget::SquareClicked, this, &TSectorMapDock::squareClicked);
    connect(map_, &TSectorMapWidget::SquareDoubleClicked, this, &TSectorMapDock::squareDoubleClicked);
    connect(&selection_, &TSelection::Changed, this, &TSectorMapDock::selectionChanged);
    showRoom(-1);
}

void TSectorMapDock::SetLevel(std::shared_ptr<const TInspectedLevel> level) {
    level_ = std::move(level);
    eyeRoom_ = -1;
    showRoom(-1);
}

void TSectorMapDock::SetEyeRoom(int room) {
    if (room == eyeRoom_) return;
    eyeRoom_ = room;
    if (room >= 0) showRoom(room);
}

int TSectorMapDock::ShownRoom() const { return map_->Room(); }

void TSectorMapDock::showRoom(int room) {
    map_->Show(level_, room);
    if (selection_.Kind() == TSelection::TKind::Sector && selection_.Room() == map_->Room())
        map_->Mark(selection_.Column(), selection_.Row());
    const int shown = map_->Room();
    if (!level_) title_->setText(tr("No level"));
    else if (shown < 0) title_->setText(tr("No room: the eye is outside the rooms"));
    else {
        const TRoomFloor& floor = level_->Floor.rooms[size_t(shown)];
        title_->setText(tr("Room %1: %2 by %3 squares").arg(shown).arg(floor.xSectors).arg(floor.zSectors));
    }
}

void TSectorMapDock::selectionChanged() {
    switch (selection_.Kind()) {
        case TSelection::TKind::Room:
        case TSelection::TKind::Sector: showRoom(selection_.Room()); break;
        case TSelection::TKind::Item:
            if (level_ && size_t(selection_.Item()) < level_->Entities.size())
                showRoom(level_->Entities[size_t(selection_.Item())].room);
            break;
        case TSelection::TKind::None: map_->Mark(-1, -1); break;
    }
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
