#pragma once
// The mouse over the 3D view: dragging with the left button turns and tilts the eye, the wheel
// moves it forward and back, and a click (press and release without moving) asks what is under
// the pointer. Watches the view whichever way it is shown: the widget itself, the OpenGL window
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
};

}  // namespace grottix
