#include "app/panels/SectorMapWidget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

#include "level/FloorDataNames.h"

namespace grottix {

namespace {

constexpr int kMargin = 4;

const TRoomFloor* floorOf(const TInspectedLevel* level, int room) {
    if (!level || room < 0 || size_t(room) >= level->Floor.rooms.size()) return nullptr;
    return &level->Floor.rooms[size_t(room)];
}

QString heights(const TLevelSector& s) {
    const auto clicks = [](int8_t v) {
        return v == kWallHeight ? TSectorMapWidget::tr("wall")
                                : TSectorMapWidget::tr("%1 (%2 clicks)").arg(int(v) * kClickSize).arg(int(v));
    };
    return TSectorMapWidget::tr("Floor %1, ceiling %2").arg(clicks(s.floor), clicks(s.ceiling));
}

}  // namespace

QColor SquareKindColour(TSquareKind kind) {
    switch (kind) {
        case TSquareKind::Floor: return QColor(205, 200, 185);
        case TSquareKind::Wall: return QColor(70, 70, 78);
        case TSquareKind::Portal: return QColor(120, 170, 230);
        case TSquareKind::Trigger: return QColor(240, 160, 40);
        case TSquareKind::Kill: return QColor(220, 40, 40);
        case TSquareKind::Bad: return QColor(255, 0, 255);
        case TSquareKind::Count: break;
    }
    return Qt::black;
}

QString SquareKindName(TSquareKind kind) {
    static const char* const names[] = {"Floor", "Wall", "Portal (room beyond)", "Trigger", "Kill", "Broken floor data"};
    return kind < TSquareKind::Count ? TSectorMapWidget::tr(names[int(kind)]) : QString();
}

TSquareKind KindOfSquare(const TSectorFloor& s) {
    if (s.bad) return TSquareKind::Bad;
    if (s.kill) return TSquareKind::Kill;
    if (!s.triggers.empty()) return TSquareKind::Trigger;
    if (s.portal >= 0) return TSquareKind::Portal;
    if (s.record.IsWall()) return TSquareKind::Wall;
    return TSquareKind::Floor;
}

QColor TriggerTypeColour(int type) {
    // Chosen apart from each other and from the floor, wall, portal, kill, broken, climbable and
    // monkey-swing colours: no red, magenta, green, purple or pale blue among them.
    static const QColor colours[] = {
        {240, 160, 40},  {240, 220, 50},  {40, 200, 200},  {190, 130, 50},  {250, 150, 190}, {150, 85, 35},
        {160, 160, 40},  {250, 120, 90},  {250, 250, 250}, {200, 180, 0},   {20, 125, 140},  {190, 190, 110},
        {185, 165, 235}, {150, 230, 230}, {40, 60, 140},   {250, 200, 150}, {110, 130, 150}};
    if (type >= 0 && size_t(type) < std::size(colours)) return colours[type];
    return QColor(128, 128, 128);
}

QColor ClimbColour() { return QColor(30, 150, 60); }
QColor MonkeySwingColour() { return QColor(110, 40, 160); }

QString DescribeSquare(const TInspectedLevel& level, int room, int x, int z) {
    const TRoomFloor* floor = floorOf(&level, room);
    const TSectorFloor* s = floor ? floor->At(x, z) : nullptr;
    if (!s) return {};
    QStringList lines{TSectorMapWidget::tr("Room %1, column %2, row %3").arg(room).arg(x).arg(z), heights(s->record)};
    if (s->record.roomBelow != 255) lines << TSectorMapWidget::tr("Room below: %1").arg(s->record.roomBelow);
    if (s->record.roomAbove != 255) lines << TSectorMapWidget::tr("Room above: %1").arg(s->record.roomAbove);
    for (const TSectorFunction& f : level.Floor.Functions(*s))
        if (f.function != kFloorTrigger) lines << QString::fromStdString(DescribeSectorFunction(level.VersionCode, f));
    for (int index : s->triggers) {
        const TLevelTrigger& t = level.Floor.triggers[size_t(index)];
        lines << TSectorMapWidget::tr("%1, timer %2%3, mask %4")
                     .arg(QString::fromStdString(TriggerTypeName(level.VersionCode, t.type)))
                     .arg(t.timer)
                     .arg(t.once ? TSectorMapWidget::tr(", once") : QString())
                     .arg(QString::fromStdString(TriggerMaskText(t.mask)));
        for (const TTriggerStep& step : t.actions)
            lines << QStringLiteral("  ") + QString::fromStdString(DescribeTriggerAction(level.VersionCode, step, level.Entities));
    }
    if (s->bad) lines << TSectorMapWidget::tr("Its floor data is broken");
    return lines.join(QLatin1Char('\n'));
}

TSectorMapWidget::TSectorMapWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(120, 120);
    setObjectName(QStringLiteral("SectorMap"));
}

void TSectorMapWidget::Show(std::shared_ptr<const TInspectedLevel> level, int room) {
    level_ = std::move(level);
    if (room != room_) markX_ = markZ_ = -1;
    room_ = floorOf(level_.get(), room) ? room : -1;
    update();
}

void TSectorMapWidget::Mark(int x, int z) {
    markX_ = x;
    markZ_ = z;
    update();
}

void TSectorMapWidget::MarkEye(std::optional<QPointF> at, double yaw) {
    if (at == eye_ && yaw == eyeYaw_) return;
    eye_ = at;
    eyeYaw_ = yaw;
    update();
}

void TSectorMapWidget::MarkItem(std::optional<QPointF> at) {
    if (at == item_) return;
    item_ = at;
    update();
}

QPointF TSectorMapWidget::mapPoint(QPointF squares) const {
    const TRoomFloor* floor = roomFloor();
    const int size = squareSize();
    if (!floor) return {};
    return {kMargin + squares.x() * size, kMargin + (floor->zSectors - squares.y()) * size};
}

// The eye: a white disc with a line the way it looks; the selected item: a yellow diamond, as its
// outline in the view.
void TSectorMapWidget::paintMarks(QPainter& painter) const {
    const double radius = std::max(3.0, squareSize() / 5.0);
    painter.setRenderHint(QPainter::Antialiasing);
    if (item_) {
        const QPointF c = mapPoint(*item_);
        const QPointF diamond[] = {c + QPointF(0, -radius), c + QPointF(radius, 0), c + QPointF(0, radius), c + QPointF(-radius, 0)};
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(255, 230, 0));
        painter.drawPolygon(diamond, 4);
    }
    if (eye_) {
        const QPointF c = mapPoint(*eye_);
        // z grows upwards on the map: a yaw of 0 looks up.
        const QPointF ahead = c + QPointF(std::sin(eyeYaw_), -std::cos(eyeYaw_)) * radius * 2.2;
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(c, ahead);
        painter.setBrush(Qt::white);
        painter.drawEllipse(c, radius, radius);
    }
}

const TRoomFloor* TSectorMapWidget::roomFloor() const { return floorOf(level_.get(), room_); }

int TSectorMapWidget::squareSize() const {
    const TRoomFloor* floor = roomFloor();
    if (!floor || floor->xSectors == 0 || floor->zSectors == 0) return 0;
    const int across = (width() - 2 * kMargin) / floor->xSectors, down = (height() - 2 * kMargin) / floor->zSectors;
    return std::clamp(std::min(across, down), 2, 48);
}

QRect TSectorMapWidget::squareRect(int x, int z) const {
    const TRoomFloor* floor = roomFloor();
    const int size = squareSize();
    if (!floor || size == 0) return {};
    // Row 0 at the bottom: z grows upwards as on a map.
    return QRect(kMargin + x * size, kMargin + (floor->zSectors - 1 - z) * size, size, size);
}

bool TSectorMapWidget::SquareAt(QPoint point, int& x, int& z) const {
    const TRoomFloor* floor = roomFloor();
    const int size = squareSize();
    if (!floor || size == 0 || point.x() < kMargin || point.y() < kMargin) return false;
    x = (point.x() - kMargin) / size;
    z = floor->zSectors - 1 - (point.y() - kMargin) / size;
    return x < floor->xSectors && z >= 0 && floor->At(x, z);
}

QPoint TSectorMapWidget::SquareCentre(int x, int z) const { return squareRect(x, z).center(); }

QSize TSectorMapWidget::sizeHint() const { return {260, 260}; }

void TSectorMapWidget::paintSquare(QPainter& painter, const TSectorFloor& s, const QRect& rect) const {
    const TSquareKind kind = KindOfSquare(s);
    const QColor fill = kind == TSquareKind::Trigger ? TriggerTypeColour(level_->Floor.triggers[size_t(s.triggers.front())].type)
                                                     : SquareKindColour(kind);
    painter.fillRect(rect, fill);
    if (s.monkeySwing) painter.fillRect(rect, QBrush(MonkeySwingColour(), Qt::BDiagPattern));
    painter.setPen(QColor(0, 0, 0, 60));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    if (s.portal >= 0 && rect.width() >= 14) {
        painter.setPen(Qt::black);
        painter.drawText(rect, Qt::AlignCenter, QString::number(s.portal));
    }
    // Climbable sides: a bar along each edge; +z is the top edge, +x the right.
    const int bar = std::max(2, rect.width() / 6);
    const QColor climb = ClimbColour();
    if (s.climb & kClimbPlusZ) painter.fillRect(rect.left(), rect.top(), rect.width(), bar, climb);
    if (s.climb & kClimbMinusZ) painter.fillRect(rect.left(), rect.bottom() - bar + 1, rect.width(), bar, climb);
    if (s.climb & kClimbPlusX) painter.fillRect(rect.right() - bar + 1, rect.top(), bar, rect.height(), climb);
    if (s.climb & kClimbMinusX) painter.fillRect(rect.left(), rect.top(), bar, rect.height(), climb);
}

void TSectorMapWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const TRoomFloor* floor = roomFloor();
    if (!floor || squareSize() == 0) {
        painter.drawText(rect(), Qt::AlignCenter, level_ ? tr("No room") : tr("No level"));
        return;
    }
    // The squares held, which a damaged room may have fewer of than its grid.
    for (size_t i = 0; i < floor->sectors.size(); ++i)
        paintSquare(painter, floor->sectors[i], squareRect(int(i / floor->zSectors), int(i % floor->zSectors)));
    if (floor->At(markX_, markZ_)) {
        painter.setPen(QPen(Qt::white, 3));
        painter.drawRect(squareRect(markX_, markZ_).adjusted(1, 1, -2, -2));
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(squareRect(markX_, markZ_).adjusted(0, 0, -1, -1));
    }
    paintMarks(painter);
}

bool TSectorMapWidget::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    int x = 0, z = 0;
    if (level_ && SquareAt(help->pos(), x, z)) QToolTip::showText(help->globalPos(), DescribeSquare(*level_, room_, x, z), this);
    else QToolTip::hideText();
    return true;
}

void TSectorMapWidget::mousePressEvent(QMouseEvent* event) {
    int x = 0, z = 0;
    if (event->button() == Qt::LeftButton && SquareAt(event->position().toPoint(), x, z)) emit SquareClicked(x, z);
}

void TSectorMapWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    int x = 0, z = 0;
    if (event->button() == Qt::LeftButton && SquareAt(event->position().toPoint(), x, z)) emit SquareDoubleClicked(x, z);
}

}  // namespace grottix
