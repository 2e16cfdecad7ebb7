#pragma once
// A room's grid of squares seen from above (x to the right, z upwards), each coloured by what it
// is: floor, wall, portal (with the room it leads to), trigger (by type), kill; climbable sides as
// bars on their edges, monkey-swing hatched. Hovering shows a square's details; a click picks it,
// a double-click on a portal square asks for the room beyond.

#include <QColor>
#include <QPointF>
#include <QWidget>

#include <memory>
#include <optional>

#include "app/panels/InspectedLevel.h"

namespace grottix {

// What a square is, for its colour; the legend lists them in this order.
enum class TSquareKind { Floor, Wall, Portal, Trigger, Kill, Bad, Count };

QColor SquareKindColour(TSquareKind kind);
QString SquareKindName(TSquareKind kind);
TSquareKind KindOfSquare(const TSectorFloor& sector);
// A trigger square's colour: one of its own per trigger type, none of them like another kind's.
QColor TriggerTypeColour(int type);
// The colours of climbable sides and monkey-swing hatching.
QColor ClimbColour();
QColor MonkeySwingColour();
// The hover text of a square: where it is, its heights, its functions, its triggers' actions.
QString DescribeSquare(const TInspectedLevel& level, int room, int x, int z);

class TSectorMapWidget : public QWidget {
    Q_OBJECT

public:
    explicit TSectorMapWidget(QWidget* parent = nullptr);

    // The room to show (-1 none) and the square to mark (-1, -1 none).
    void Show(std::shared_ptr<const TInspectedLevel> level, int room);
    void Mark(int x, int z);
    // The eye (where it stands, in squares from the room's corner, and its yaw) and the selected
    // item, drawn over the squares; none: not in this room.
    void MarkEye(std::optional<QPointF> at, double yaw);
    void MarkItem(std::optional<QPointF> at);
    std::optional<QPointF> EyeMark() const { return eye_; }
    std::optional<QPointF> ItemMark() const { return item_; }
    int Room() const { return room_; }
    // The square under a point of the widget, or false.
    bool SquareAt(QPoint point, int& x, int& z) const;
    // The middle of a square, in widget coordinates.
    QPoint SquareCentre(int x, int z) const;

    QSize sizeHint() const override;

signals:
    void SquareClicked(int x, int z);
    void SquareDoubleClicked(int x, int z);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const TRoomFloor* roomFloor() const;
    QRect squareRect(int x, int z) const;
    int squareSize() const;
    void paintSquare(QPainter& painter, const TSectorFloor& sector, const QRect& rect) const;
    void paintMarks(QPainter& painter) const;
    QPointF mapPoint(QPointF squares) const;

    std::shared_ptr<const TInspectedLevel> level_;
    int room_ = -1;
    int markX_ = -1, markZ_ = -1;
    std::optional<QPointF> eye_, item_;
    double eyeYaw_ = 0;
};

}  // namespace grottix
