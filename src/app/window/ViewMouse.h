#pragma once
// The mouse over the 3D view: dragging with the left button turns and tilts the eye (or orbits),
// dragging with the right or middle button pans, the wheel moves it forward and back, a click
// (press and release without moving) asks what is under the pointer and a double-click centres on
// it. Watches the view whichever way it is shown: the widget itself, the OpenGL window
// in it, or the full-screen view; positions are handed on in pixels of the frame.

#include <QObject>
#include <QPointF>

#include <functional>

namespace grottix {

class TDXDraw;

class TViewMouse : public QObject {
public:
    std::function<void(double right, double down)> OnDrag;  // pixels moved since the last call
    std::function<void(double notches)> OnWheel;            // positive: forward
    std::function<void(double x, double y)> OnClick;        // frame pixels from the top left
    std::function<void(double right, double down)> OnPan;   // right or middle button; pixels moved
    std::function<void(double x, double y)> OnDoubleClick;  // frame pixels from the top left

    // Listens to every event of the application (the OpenGL window is no widget of the view).
    explicit TViewMouse(TDXDraw& view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isView(QObject* target) const;
    // The point of the frame shown at `at` of the object that shows it.
    QPointF framePoint(QObject* host, QPointF at) const;

    TDXDraw& view_;
    QPointF pressedAt_, lastAt_;
    bool pressed_ = false, dragged_ = false;
    Qt::MouseButton button_ = Qt::NoButton;  // the button pressed
};

}  // namespace grottix
