#include "app/window/ViewMouse.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindow>

#include <cmath>

#include "device/qt/DXDraw.h"
#include "device/qt/FramePlacement.h"

namespace grottix {

TViewMouse::TViewMouse(TDXDraw& view) : QObject(&view), view_(view) { qApp->installEventFilter(this); }

bool TViewMouse::isView(QObject* target) const {
    return target && (target == &view_ || target == view_.FullScreenWindow() || target == view_.SurfaceWindow());
}

QPointF TViewMouse::framePoint(QObject* host, QPointF at) const {
    QSize area;
    if (auto* widget = qobject_cast<QWidget*>(host)) area = widget->size();
    else if (auto* window = qobject_cast<QWindow*>(host)) area = window->size();
    const QSize frame(view_.SurfaceWidth(), view_.SurfaceHeight());
    const QRect placed = FramePlacement(frame, area, view_.NowOptions());
    if (placed.isEmpty()) return at;
    return {(at.x() - placed.x()) * frame.width() / placed.width(), (at.y() - placed.y()) * frame.height() / placed.height()};
}

bool TViewMouse::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (!isView(watched)) return false;
    if (type == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (OnWheel && wheel->angleDelta().y() != 0) OnWheel(wheel->angleDelta().y() / 120.0);
        return false;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF at = mouse->position();
    // The middle of the pixel under the pointer.
    const auto pixel = [&] { return framePoint(watched, {std::floor(at.x()) + 0.5, std::floor(at.y()) + 0.5}); };
    const bool tracked = mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton || mouse->button() == Qt::MiddleButton;
    if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
        if (OnDoubleClick) OnDoubleClick(pixel().x(), pixel().y());
    } else if (type == QEvent::MouseButtonPress && tracked && !pressed_) {
        // The keys move the eye again after a click in the view, wherever the focus was.
        if (!view_.FullScreenWindow()) view_.setFocus();
        pressed_ = true;
        dragged_ = false;
        button_ = mouse->button();
        pressedAt_ = lastAt_ = at;
    } else if (type == QEvent::MouseMove && pressed_ && (mouse->buttons() & button_)) {
        if (!dragged_ && (at - pressedAt_).manhattanLength() < QApplication::startDragDistance()) return false;
        dragged_ = true;
        const auto& handler = button_ == Qt::LeftButton ? OnDrag : OnPan;
        if (handler) handler(at.x() - lastAt_.x(), at.y() - lastAt_.y());
        lastAt_ = at;
    } else if (type == QEvent::MouseButtonRelease && pressed_ && mouse->button() == button_) {
        pressed_ = false;
        if (!dragged_ && button_ == Qt::LeftButton && OnClick) OnClick(pixel().x(), pixel().y());
    }
    return false;
}

}  // namespace grottix
